#include "platform/registry/registry.h"

#include "platform/text/systemnames.h"
#include "platform/text/systemtexts.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<Registry> createSystemRegistry()
{
    return std::make_unique<RegFileRegistry>(RegFileRegistry::defaultPath());
}

std::optional<qint64> RegFileRegistry::openRegularFile(QFile &file, QString *reason)
{
    // Opening a FIFO without O_NONBLOCK would block the window for ever; what
    // was opened is then judged by its descriptor, so that a FIFO or a device
    // such as /dev/zero (which never ends) is refused before it is read.
    const int fd = ::open(systemName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *reason = errno == ENOENT ? tr("it does not exist") : tr("it cannot be read (%1)").arg(systemErrorText(errno));
        return std::nullopt;
    }
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        *reason = tr("it is not a regular file");
        return std::nullopt;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *reason = tr("it cannot be read (%1)").arg(file.errorString());
        return std::nullopt;
    }
    return qint64(status.st_size);
}
