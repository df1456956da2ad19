#include "platform/registry/registry.h"

#include "platform/text/messagetext.h"
#include "platform/registry/regfileformat.h"
#include "platform/text/systemnames.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

QString RegFileRegistry::tr(const char *text)
{
    return QCoreApplication::translate("RegFileRegistry", text);
}

RegFileRegistry::RegFileRegistry(const QString &path) : m_path(path) {}

QString RegFileRegistry::defaultPath()
{
    const QString path = environmentValue("TORVEX_REGISTRY");
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
    std::optional<QString> value = RegFileFormat::localMachineDefault(*bytes, keyPath);
    if (!value && whyNot) {
        *whyNot = tr("The file \"%1\", which stands in for the registry (TORVEX_REGISTRY names it), holds no "
                     "usable text as the default value of HKEY_LOCAL_MACHINE\\%2.")
                      .arg(quoteForMessage(m_path), keyPath);
    }
    return value;
}

std::optional<QByteArray> RegFileRegistry::readFile(QString *whyNot) const
{
    const auto unusable = [&](const QString &reason) -> std::optional<QByteArray> {
        if (whyNot) {
            *whyNot = tr("The file \"%1\", which stands in for the registry (TORVEX_REGISTRY names it), "
                         "cannot be used: %2.")
                          .arg(quoteForMessage(m_path), reason);
        }
        return std::nullopt;
    };

    QFile file(m_path);
    QString reason;
    const std::optional<qint64> size = openRegularFile(file, &reason);
    if (!size)
        return unusable(reason);
    if (*size > MaxFileSize)
        return unusable(tr("it is larger than 16 MiB"));

    // Room for what was measured and one byte more, which shows whether it
    // has grown since; it may go on growing up to the limit.
    QByteArray bytes(*size + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            return unusable(tr("it cannot be read (%1)").arg(file.errorString()));
        if (got == 0)
            break;
        filled += got;
        if (filled == bytes.size()) {
            if (filled > MaxFileSize)
                return unusable(tr("it is larger than 16 MiB"));
            bytes.resize(std::min<qsizetype>(2 * filled, MaxFileSize + 1));
        }
    }
    bytes.truncate(filled);
    return bytes;
}
