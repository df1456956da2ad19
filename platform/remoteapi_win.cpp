#include "platform/remoteapi.h"

#include <qt_windows.h>

void LibraryRemoteApi::keepCurrentDirectoryOutOfSearch()
{
    // The program's folder, System32 and folders added on purpose; never the
    // current directory.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}
