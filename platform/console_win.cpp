#include "platform/console.h"

#include <cstdio>

#include <qt_windows.h>

namespace {

bool connected(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void attachParentConsole()
{
    // Redirected streams (to a file, a pipe) are read before the console is
    // attached, so they keep going where the caller sent them.
    const bool outConnected = connected(STD_OUTPUT_HANDLE);
    const bool errConnected = connected(STD_ERROR_HANDLE);
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return; // started from Explorer, say: there is no console to print on
    if (!outConnected && std::freopen("CONOUT$", "w", stdout))
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!errConnected && std::freopen("CONOUT$", "w", stderr))
        std::setvbuf(stderr, nullptr, _IONBF, 0);
}

int reserveStandardOutput()
{
    // Started programs inherit no handles of ours, standard output included.
    return _fileno(stdout);
}
