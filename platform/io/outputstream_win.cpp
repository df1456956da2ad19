#include "platform/io/outputstream.h"
#include "platform/text/systemtexts.h"

#include <QDir>

#include <qt_windows.h>

namespace {

class HandleStream final : public OutputStream
{
public:
    HandleStream(HANDLE handle, bool owned) : m_handle(handle), m_owned(owned)
    {
        DWORD mode = 0;
        m_console = handle && GetConsoleMode(handle, &mode);
    }
    ~HandleStream() override
    {
        if (m_owned)
            CloseHandle(m_handle);
    }

    bool write(const QString &text) override
    {
        // Started with no console and nothing redirected (by an endpoint
        // manager, say), the program's lines have nowhere to go: no fault.
        if (!m_handle)
            return true;
        if (m_console)
            return writeConsole(text);
        const QByteArray bytes = text.toUtf8();
        const char *next = bytes.constData();
        DWORD left = DWORD(bytes.size());
        while (left > 0) {
            DWORD written = 0;
            if (!WriteFile(m_handle, next, left, &written, nullptr))
                return fail();
            if (written == 0)
                return fail();
            next += written;
            left -= written;
        }
        return true;
    }

    QString errorString() const override { return m_error; }

private:
    // In the console's own characters: a code page would garble any path
    // that is not plain ASCII.
    bool writeConsole(const QString &text)
    {
        const wchar_t *next = reinterpret_cast<const wchar_t *>(text.utf16());
        DWORD left = DWORD(text.size());
        while (left > 0) {
            DWORD written = 0;
            if (!WriteConsoleW(m_handle, next, left, &written, nullptr) || written == 0)
                return fail();
            next += written;
            left -= written;
        }
        return true;
    }

    bool fail()
    {
        m_error = systemErrorText(int(GetLastError()));
        return false;
    }

    HANDLE m_handle;
    bool m_owned;
    bool m_console = false;
    QString m_error;
};

} // namespace

std::unique_ptr<OutputStream> OutputStream::openStandard(Standard which)
{
    HANDLE handle = GetStdHandle(which == Standard::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == INVALID_HANDLE_VALUE)
        handle = nullptr;
    return std::make_unique<HandleStream>(handle, false);
}

std::unique_ptr<OutputStream> OutputStream::openLog(const QString &path, QString *error)
{
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error)
            *error = systemErrorText(int(GetLastError()));
        return nullptr;
    }
    return std::make_unique<HandleStream>(handle, true);
}
