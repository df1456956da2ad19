#include "app/commandlinesystem.h"

#include <QCoreApplication>

QString environmentHelp()
{
    return QCoreApplication::translate(
        "CommandLine",
        "The INI files of the setup kit are looked for in the current directory,\n"
        "or in the folder named by --kit.\n"
        "From a command prompt, \"start /wait TorvexSetup.exe ...\" (or PowerShell's\n"
        "Start-Process -Wait -PassThru) waits for the program and keeps its exit status.\n");
}

bool hasDisplay()
{
    // The desktop is always there to open the window on.
    return true;
}
