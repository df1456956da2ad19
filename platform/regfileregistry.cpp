#include "platform/registry.h"

#include "platform/regfileformat.h"

#include <QFile>

RegFileRegistry::RegFileRegistry(const QString &path) : m_path(path) {}

QString RegFileRegistry::defaultPath()
{
    const QString path = qEnvironmentVariable("TORVEX_REGISTRY");
    return path.isEmpty() ? QStringLiteral("/etc/torvex/registry.reg") : path;
}

std::optional<QString> RegFileRegistry::defaultValue(uint32_t hive, const QString &keyPath)
{
    if (hive != LocalMachine)
        return std::nullopt;
    // Read afresh on every query: the user may mend the file between attempts.
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return RegFileFormat::localMachineDefault(RegFileFormat::decode(file.readAll()), keyPath);
}

#ifndef Q_OS_WIN
std::unique_ptr<Registry> createSystemRegistry()
{
    return std::make_unique<RegFileRegistry>(RegFileRegistry::defaultPath());
}
#endif
