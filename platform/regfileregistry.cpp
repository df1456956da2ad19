#include "platform/registry.h"
// Placeholder until the regedit-file reader lands.
RegFileRegistry::RegFileRegistry(const QString &path) : m_path(path) {}
QString RegFileRegistry::defaultPath() { return QStringLiteral("/etc/torvex/registry.reg"); }
std::optional<QString> RegFileRegistry::defaultValue(uint32_t, const QString &) { return std::nullopt; }
std::unique_ptr<Registry> createSystemRegistry() { return std::make_unique<RegFileRegistry>(RegFileRegistry::defaultPath()); }
