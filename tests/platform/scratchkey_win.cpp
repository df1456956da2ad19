#include "scratchkey.h"

#include <QCoreApplication>

#include <qt_windows.h>

namespace {

REGSAM viewFlag(ScratchKey::View view)
{
    return view == ScratchKey::View::Bits64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

} // namespace

ScratchKey::ScratchKey()
    : m_path(QStringLiteral("SOFTWARE\\TorvexSetup test %1").arg(QCoreApplication::applicationPid()))
{
    remove();
}

ScratchKey::~ScratchKey()
{
    remove();
}

QString ScratchKey::setDefault(View view, uint32_t type, const QString &data)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(m_path), 0, nullptr, 0, KEY_SET_VALUE | viewFlag(view),
                                  nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE *>(data.utf16()),
                                DWORD(data.size() * sizeof(char16_t)));
        RegCloseKey(key);
    }
    return status == ERROR_SUCCESS ? QString() : qt_error_string(int(status));
}

void ScratchKey::remove()
{
    const QString name = m_path.section(QLatin1Char('\\'), 1);
    for (const View view : {View::Bits64, View::Bits32}) {
        HKEY software = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | viewFlag(view), &software)
            == ERROR_SUCCESS) {
            RegDeleteTreeW(software, wide(name));
            RegCloseKey(software);
        }
    }
}
