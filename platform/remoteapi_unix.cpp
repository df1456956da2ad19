#include "platform/remoteapi.h"

void LibraryRemoteApi::keepCurrentDirectoryOutOfSearch()
{
    // The loader never looks in the current directory unless the user's own
    // LD_LIBRARY_PATH names it.
}
