// The program's unattended mode exactly as main() starts it, but with pauses
// a thousand times shorter, so that real runs take no real time.
#include "doubles/fakeservices.h"
#include "platform/processservices.h"
#include "wizard/commandline.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));
    SystemProcessServices::takeChildEndsBack();
    std::optional<UnattendedOptions> unattended;
    if (const std::optional<int> status = handleCommandLine(argc, argv, &unattended))
        return *status;
    if (!unattended)
        return 99; // only for unattended runs
    FastTickSource ticks(1000);
    return runUnattended(argc, argv, *unattended, ticks);
}
