#include "platform/io/console.h"

#include <cstdio>

#include <qt_windows.h>

namespace {

bool attached = false;

bool connected(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The console's output for one standard stream, for the system's handle
// (which OutputStream writes to) and for the C library's (Qt's own messages).
void sendToConsole(DWORD stream, std::FILE *file)
{
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE)
        SetStdHandle(stream, console);
    if (std::freopen("CONOUT$", "w", file))
        std::setvbuf(file, nullptr, _IONBF, 0);
}

} // namespace

void fillClosedStandardDescriptors()
{
}

void attachParentConsole()
{
    // Redirected streams (to a file, a pipe) are read before the console is
    // attached, so they keep going where the caller sent them.
    const bool outConnected = connected(STD_OUTPUT_HANDLE);
    const bool errConnected = connected(STD_ERROR_HANDLE);
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return; // started from Explorer, say: there is no console to print on
    attached = true;
    if (!outConnected)
        sendToConsole(STD_OUTPUT_HANDLE, stdout);
    if (!errConnected)
        sendToConsole(STD_ERROR_HANDLE, stderr);
}

void ignoreBrokenPipes()
{
}

void detachConsole()
{
    if (!attached)
        return;
    attached = false;
    FreeConsole();
}
