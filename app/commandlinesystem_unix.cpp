#include "app/commandlinesystem.h"

#include "platform/lock/instancelock.h"

#include <QCoreApplication>

QString environmentHelp()
{
    return QCoreApplication::translate("CommandLine",
                                       "Environment:\n"
                                       "  TORVEX_REGISTRY  File in regedit export format that stands in for the\n"
                                       "                   Windows registry and names the application manager\n"
                                       "                   (default: /etc/torvex/registry.reg).\n"
                                       "  LD_LIBRARY_PATH  Where the remote-API library librapi.so is looked for,\n"
                                       "                   besides the system's library folders; its absolute\n"
                                       "                   and $ORIGIN folders only, never the current one.\n"
                                       "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM\n"
                                       "                   The display the window opens on (not needed with\n"
                                       "                   --unattended or --check).\n"
                                       "  TORVEX_LOCK      Another lock file than the machine's, for tests and\n"
                                       "                   demos: an empty regular file of your own, or none yet\n"
                                       "                   (refused with status 2 otherwise). The machine's keeps\n"
                                       "                   a second Setup, of any user, from running: %1.\n"
                                       "                   A machine lock that cannot be used is reported, and\n"
                                       "                   Setup goes on.\n"
                                       "\n"
                                       "The INI files of the setup kit are looked for in the current directory,\n"
                                       "or in the folder named by --kit.\n")
        .arg(InstanceLock::machineWide(QStringLiteral("TorvexSetup")));
}

bool hasDisplay()
{
    // An empty variable names no display.
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
