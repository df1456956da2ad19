#include "platform/io/outputstream.h"

#include "platform/text/systemnames.h"
#include "platform/text/systemtexts.h"

#include <QCoreApplication>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace {

class DescriptorStream final : public OutputStream
{
public:
    DescriptorStream(int fd, bool owned, QString error = QString())
        : m_fd(fd), m_owned(owned), m_error(std::move(error))
    {
    }
    ~DescriptorStream() override
    {
        if (m_owned)
            ::close(m_fd);
    }

    bool write(const QString &text) override
    {
        const QByteArray bytes = text.toUtf8();
        const char *next = bytes.constData();
        size_t left = size_t(bytes.size());
        while (left > 0) {
            const ssize_t written = ::write(m_fd, next, left);
            if (written > 0) {
                next += written;
                left -= size_t(written);
            } else if (written == 0) {
                return fail(QCoreApplication::translate("OutputStream", "nothing could be written"));
            } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
                // Inherited non-blocking: wait until the reader has made room.
                pollfd ready{m_fd, POLLOUT, 0};
                if (::poll(&ready, 1, -1) < 0 && errno != EINTR)
                    return fail(systemErrorText(errno));
            } else if (errno != EINTR) {
                return fail(systemErrorText(errno));
            }
        }
        return true;
    }

    QString errorString() const override { return m_error; }

private:
    bool fail(const QString &error)
    {
        m_error = error;
        return false;
    }

    int m_fd;
    bool m_owned;
    QString m_error;
};

} // namespace

std::unique_ptr<OutputStream> OutputStream::openStandard(Standard which)
{
    const int fd = which == Standard::Output ? STDOUT_FILENO : STDERR_FILENO;
    // Closed at start, the descriptor holds the null device open for reading
    // only (see console.h): as unusable as a closed one.
    const int flags = ::fcntl(fd, F_GETFL);
    QString error;
    if (flags < 0)
        error = systemErrorText(errno);
    else if ((flags & O_ACCMODE) == O_RDONLY)
        error = systemErrorText(EBADF);
    return std::make_unique<DescriptorStream>(fd, false, error);
}

std::unique_ptr<OutputStream> OutputStream::openLog(const QString &path, QString *error)
{
    const QByteArray name = systemName(path);
    int fd;
    do
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (error)
            *error = systemErrorText(errno);
        return nullptr;
    }
    return std::make_unique<DescriptorStream>(fd, true);
}
