#include "platform/registry.h"

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
