// The program's unattended mode exactly as main() starts it, but with pauses
// a thousand times shorter, so that real runs take no real time.
#include "doubles/fakeservices.h"
#include "app/commandline.h"
#include "platform/io/console.h"
#include "platform/remoteapi/remoteapi.h"

int main(int argc, char *argv[])
{
    LibraryRemoteApi::restartWithFixedSearchPath(argv);
    fillClosedStandardDescriptors();
    FastTickSource ticks(1000);
    // Only for unattended runs: a start that would open the window ends.
    return runBeforeWindow(argc, argv, ticks).value_or(99);
}
