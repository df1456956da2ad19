#include "platform/io/console.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

void fillClosedStandardDescriptors()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        // The lowest free number, which is `fd` unless a lower one is closed
        // too, and that one is filled first.
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

void ignoreBrokenPipes()
{
    ::signal(SIGPIPE, SIG_IGN);
}

void attachParentConsole()
{
}

void detachConsole()
{
}
