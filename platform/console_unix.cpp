#include "platform/console.h"

#include <fcntl.h>
#include <unistd.h>

void attachParentConsole()
{
}

int reserveStandardOutput()
{
    // A copy that started programs do not inherit; their descriptor 1 is
    // standard error from now on.
    const int own = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (own < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return STDOUT_FILENO;
    return own;
}
