#pragma once

#include <QLibrary>
#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>

#ifdef Q_OS_WIN
// The system's library declares the event as a HANDLE, a pointer: the record
// takes 24 bytes in a 64-bit process and 12 in a 32-bit one. Its size field
// says which, and a library that checks it refuses any other.
using RapiEventHandle = void *;
#else
// The stand-in library elsewhere is ours: a 32-bit field, 12 bytes in all.
using RapiEventHandle = uint32_t;
#endif

// The remote-API library's init record, passed by reference to CeRapiInitEx
// with cbSize set to its size.
struct RapiInit
{
    uint32_t cbSize;
    RapiEventHandle heRapiInit;
    int32_t hrRapiInit;
};
static_assert(sizeof(RapiInit) == (sizeof(RapiEventHandle) == 8 ? 24 : 12),
              "RapiInit must match the library's layout");

// Raised when the library or one of its entry points cannot be bound; what()
// is a sentence that names the library (UTF-8).
class RemoteApiUnavailable : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Raised instead when the library could not even be looked for: the folder it
// must be loaded from could not be made (a full or read-only /tmp). Nothing
// is known about the library itself.
class TemporaryFolderUnavailable : public RemoteApiUnavailable
{
public:
    using RemoteApiUnavailable::RemoteApiUnavailable;
};

// The two calls the device probe makes into the handheld remote-API library.
class RemoteApi
{
public:
    virtual ~RemoteApi() = default;

    virtual int32_t CeRapiInitEx(RapiInit *init) = 0;
    // `record` points to a buffer of at least RecordBufferSize bytes whose
    // first 148 bytes hold the single-byte version record; the rest is zero.
    virtual int32_t CeGetVersionEx(unsigned char *record) = 0;

    // The system's own library fills a 276-byte wide-character record, so the
    // buffer handed to it is never smaller than that.
    static constexpr int RecordBufferSize = 276;
};

// Binds the library on first use, so the wizard starts and runs its pages
// without it. "rapi" is rapi.dll from the system folder (System32) on Windows
// and librapi.so found by the loader's search for system libraries elsewhere;
// a path names one file. A failed bind is tried again on the next call. Each
// call throws RemoteApiUnavailable when the library or its entry point cannot
// be bound, TemporaryFolderUnavailable when there was nowhere to load it from.
class LibraryRemoteApi final : public RemoteApi
{
public:
    explicit LibraryRemoteApi(const QString &libraryName = QStringLiteral("rapi"));

    int32_t CeRapiInitEx(RapiInit *init) override;
    int32_t CeGetVersionEx(unsigned char *record) override;

    // The file this system loads for `libraryName`: "librapi.so", "rapi.dll".
    static QString fileName(const QString &libraryName);

    // First thing in main(), before any library is loaded by name: on Linux,
    // when LD_LIBRARY_PATH holds an empty or relative element (which the
    // loader reads against the current folder, the kit's, when it loads),
    // starts the program afresh with the same arguments and without those
    // elements ($ORIGIN ones stay). Returns when nothing needed doing, when
    // the program was started by running the loader itself, or when the new
    // start failed; load() then runs from an empty folder, and keeps to the
    // path's fixed folders if an element climbs out of it. Nothing to do on
    // Windows, where the library comes from System32 alone.
    static void restartWithFixedSearchPath(char *argv[]);

private:
    QFunctionPointer resolve(const char *symbol);
    // The library loaded from where this system keeps it, or null and why
    // not. The current directory holds the setup kit; a library planted there
    // must never be loaded in place of the system's (remoteapi_unix.cpp,
    // remoteapi_win.cpp).
    std::unique_ptr<QLibrary> load(QString *whyNot);
    // `file` loaded, or null and why not.
    static std::unique_ptr<QLibrary> loadFile(const QString &file, QString *whyNot);

    QString m_libraryName;
    // Loaded, or null: a QLibrary is made only to be loaded at once and
    // dropped at once when that fails. Qt 6.4 tidies up at exit every
    // QLibrary still made and never loaded, reading through locale data it
    // has already freed and freeing the library's record a second time.
    std::unique_ptr<QLibrary> m_library;
};
