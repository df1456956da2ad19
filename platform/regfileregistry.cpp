#include "platform/registry.h"

#include "platform/messageboxes.h"
#include "platform/regfileformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RegFileRegistry", text);
}

} // namespace

RegFileRegistry::RegFileRegistry(const QString &path) : m_path(path) {}

QString RegFileRegistry::defaultPath()
{
    const QString path = qEnvironmentVariable("TORVEX_REGISTRY");
    return path.isEmpty() ? QStringLiteral("/etc/torvex/registry.reg") : path;
}

std::optional<QString> RegFileRegistry::defaultValue(uint32_t hive, const QString &keyPath, QString *whyNot)
{
    if (whyNot)
        whyNot->clear();
    if (hive != LocalMachine)
        return std::nullopt;
    // Read afresh on every query: the user may mend the file between attempts.
    const std::optional<QByteArray> bytes = readFile(whyNot);
    if (!bytes)
        return std::nullopt;
    std::optional<QString> value = RegFileFormat::localMachineDefault(RegFileFormat::decode(*bytes), keyPath);
    if (!value && whyNot) {
        *whyNot = tr("The file \"%1\", which stands in for the registry (TORVEX_REGISTRY names it), holds no "
                     "usable text as the default value of HKEY_LOCAL_MACHINE\\%2.")
                      .arg(elideForMessage(m_path), keyPath);
    }
    return value;
}

std::optional<QByteArray> RegFileRegistry::readFile(QString *whyNot) const
{
    const auto unusable = [&](const QString &reason) -> std::optional<QByteArray> {
        if (whyNot) {
            *whyNot = tr("The file \"%1\", which stands in for the registry (TORVEX_REGISTRY names it), "
                         "cannot be used: %2.")
                          .arg(elideForMessage(m_path), reason);
        }
        return std::nullopt;
    };

    // A FIFO would block the window for ever and a device such as /dev/zero
    // would never end: only a regular file of sensible size is read.
    const QFileInfo info(m_path);
    if (!info.exists())
        return unusable(tr("it does not exist"));
    if (!info.isFile())
        return unusable(tr("it is not a regular file"));
    if (info.size() > MaxFileSize)
        return unusable(tr("it is larger than 16 MiB"));

    QFile file(m_path);
#ifdef Q_OS_UNIX
    // Should it have been swapped for a FIFO since, the open still returns
    // at once.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return unusable(tr("it cannot be read (%1)").arg(qt_error_string(errno)));
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unusable(tr("it cannot be read (%1)").arg(file.errorString()));
    }
#else
    if (!file.open(QIODevice::ReadOnly))
        return unusable(tr("it cannot be read (%1)").arg(file.errorString()));
#endif
    // It may have grown since it was measured.
    QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return unusable(tr("it is larger than 16 MiB"));
    return bytes;
}
