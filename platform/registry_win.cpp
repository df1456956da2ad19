#include "platform/registry.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace {

class WindowsRegistry final : public Registry
{
public:
    std::optional<QString> defaultValue(uint32_t hive, const QString &keyPath, QString *whyNot = nullptr) override
    {
        if (whyNot)
            whyNot->clear();
        if (hive != LocalMachine)
            return std::nullopt;
        // A 32-bit installer may have written the key to the 32-bit view only.
        for (const auto format : {QSettings::Registry64Format, QSettings::Registry32Format}) {
            const QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyPath, format);
            // "Default" stands for the key's unnamed value.
            const QVariant value = key.value(QStringLiteral("Default"));
            if (value.isValid())
                return value.toString();
        }
        return std::nullopt;
    }
};

} // namespace

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
