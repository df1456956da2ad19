#pragma once

#include <QString>

#include <cstdint>

// A key of the test's own under HKEY_LOCAL_MACHINE\SOFTWARE, in the 64-bit
// and the 32-bit view of the registry, removed from both when it goes. Only
// there do the two views differ: HKEY_CURRENT_USER\Software is one key for
// both. Windows only.
class ScratchKey
{
public:
    enum class View { Bits64, Bits32 };

    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey &) = delete;
    ScratchKey &operator=(const ScratchKey &) = delete;

    // The path below HKEY_LOCAL_MACHINE, as the registry reader is given it.
    QString path() const { return m_path; }

    // Stores `data` as the key's default value in one view, its UTF-16 code
    // units exactly, no terminator added; empty when done, else why not.
    QString setDefault(View view, uint32_t type, const QString &data);

private:
    void remove();

    QString m_path;
};
