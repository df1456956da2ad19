// The program's entry point on Windows, before the C runtime and any static
// initialiser. DLLs that are loaded from here on by name, the delay-loaded
// ones of Qt among them, come from system32 only, never from the program's
// folder, which is often a downloads folder others can write to.
#include <windows.h>

extern "C" int WinMainCRTStartup();

extern "C" int torvexEntry()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return WinMainCRTStartup();
}
