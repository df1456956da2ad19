#include "platform/registry/registry.h"

#include "platform/registry/registrytext_win.h"
#include "platform/text/systemtexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <qt_windows.h>

#include <vector>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("WindowsRegistry", text);
}

// The text as it was stored, read in full: QSettings would end it at its
// first NUL, where the guard below could no longer see it.
class WindowsRegistry final : public Registry
{
public:
    std::optional<QString> defaultValue(uint32_t hive, const QString &keyPath, QString *whyNot = nullptr) override
    {
        if (whyNot)
            whyNot->clear();
        if (hive != LocalMachine)
            return std::nullopt;
        // A 32-bit installer may have written the key to the 32-bit view
        // only; the 64-bit view, where a 64-bit program looks first, is
        // consulted first and decides whenever it holds the value at all.
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            LONG status = ERROR_SUCCESS;
            std::optional<QString> value = read(view, keyPath, &status);
            if (status == ERROR_FILE_NOT_FOUND)
                continue;
            if (status != ERROR_SUCCESS) {
                if (whyNot) {
                    *whyNot = status == ERROR_UNSUPPORTED_TYPE
                        ? tr("The default value of HKEY_LOCAL_MACHINE\\%1 is not text.").arg(keyPath)
                        : tr("The default value of HKEY_LOCAL_MACHINE\\%1 cannot be read: %2.")
                              .arg(keyPath, systemErrorText(int(status)));
                }
                return std::nullopt;
            }
            // The system ends the text at its first NUL: a value cut short
            // there could name another program than the one it seems to.
            if (value->contains(QChar(0))) {
                if (whyNot) {
                    *whyNot = tr("The default value of HKEY_LOCAL_MACHINE\\%1 holds a NUL character, so the "
                                 "program it names is not certain.")
                                  .arg(keyPath);
                }
                return std::nullopt;
            }
            return value;
        }
        return std::nullopt;
    }

private:
    // The default value of the key in one view of the registry, environment
    // references of a REG_EXPAND_SZ value expanded; `status` as the system
    // gives it.
    static std::optional<QString> read(REGSAM view, const QString &keyPath, LONG *status)
    {
        HKEY key = nullptr;
        *status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, reinterpret_cast<const wchar_t *>(keyPath.utf16()), 0,
                                KEY_QUERY_VALUE | view, &key);
        if (*status != ERROR_SUCCESS)
            return std::nullopt;
        // REG_SZ only, once expanded: REG_EXPAND_SZ values are expanded on the
        // way, other types are refused.
        const std::optional<QString> value = readRegistryText(
            [key](wchar_t *data, DWORD *size) {
                return RegGetValueW(key, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, data, size);
            },
            status);
        RegCloseKey(key);
        return value;
    }
};

} // namespace

std::optional<QString> readRegistryText(const std::function<LONG(wchar_t *data, DWORD *size)> &get, LONG *status)
{
    // The text may grow between the size query and the read, but not
    // without end.
    constexpr int MaxReads = 4;
    std::vector<wchar_t> buffer;
    DWORD size = 0;
    *status = get(nullptr, &size);
    for (int read = 0; read < MaxReads && (*status == ERROR_SUCCESS || *status == ERROR_MORE_DATA); ++read) {
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = DWORD(buffer.size() * sizeof(wchar_t));
        *status = get(buffer.data(), &size);
        if (*status == ERROR_SUCCESS) {
            QString text = QString::fromWCharArray(buffer.data(), qsizetype(size / sizeof(wchar_t)));
            while (text.endsWith(QChar(0)))
                text.chop(1);
            return text;
        }
    }
    return std::nullopt;
}

std::unique_ptr<Registry> createSystemRegistry()
{
    return std::make_unique<WindowsRegistry>();
}

std::optional<qint64> RegFileRegistry::openRegularFile(QFile &file, QString *reason)
{
    // Windows opens no FIFO and no device by a file name like these.
    const QFileInfo info(file.fileName());
    if (!info.exists()) {
        *reason = tr("it does not exist");
        return std::nullopt;
    }
    if (!info.isFile()) {
        *reason = tr("it is not a regular file");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = tr("it cannot be read (%1)").arg(file.errorString());
        return std::nullopt;
    }
    return file.size();
}
