#pragma once

#include <QString>

class QFile;

#include <cstdint>
#include <memory>
#include <optional>

// Read-only access to the machine's registry: the default value of a key.
class Registry
{
public:
    static constexpr uint32_t LocalMachine = 0x80000002u;

    virtual ~Registry() = default;

    // The text of the key's default (unnamed) value, or nothing when the key
    // or the value is missing or cannot be read. Then `whyNot`, if given,
    // receives a sentence for the user when there is more to say than that
    // the value is missing (a file standing in for the registry that cannot
    // be used, say); otherwise it is left empty.
    virtual std::optional<QString> defaultValue(uint32_t hive, const QString &keyPath,
                                                QString *whyNot = nullptr) = 0;
};

// Where no registry exists, a file in the regedit export format stands in for
// it: TORVEX_REGISTRY names it, by default /etc/torvex/registry.reg. Only a
// regular file of at most MaxFileSize bytes is read.
class RegFileRegistry final : public Registry
{
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    explicit RegFileRegistry(const QString &path);

    static QString defaultPath();

    std::optional<QString> defaultValue(uint32_t hive, const QString &keyPath,
                                        QString *whyNot = nullptr) override;

private:
    std::optional<QByteArray> readFile(QString *whyNot) const;
    // Opens the file and judges what was opened, not the path, which may
    // have been swapped since: its size, or nothing with `reason` set.
    // Per system (registry_unix.cpp, registry_win.cpp).
    static std::optional<qint64> openRegularFile(QFile &file, QString *reason);
    static QString tr(const char *text);

    QString m_path;
};

// The registry this machine has: the real one on Windows, the file elsewhere.
std::unique_ptr<Registry> createSystemRegistry();
