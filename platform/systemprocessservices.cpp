#include "platform/processservices.h"

#include "platform/detachedprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

QString SystemProcessServices::currentDirectory() const
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

std::unique_ptr<LaunchedProcess> SystemProcessServices::start(const LaunchCommand &command,
                                                              QString *error)
{
    // Started detached: QProcess would kill a child of its own when destroyed,
    // and a run must go on to its end even when the wizard stops watching it.
    QProcess process;
    process.setArguments(command.arguments);
#ifdef Q_OS_WIN
    // The program named is the application itself, never guessed along the
    // spaces of a command line, and the process gets exactly our command line.
    // App Paths values are often quoted; the quotes are command-line syntax,
    // not part of the file name.
    QString program = QDir::toNativeSeparators(command.program);
    if (program.size() >= 2 && program.startsWith(u'"') && program.endsWith(u'"'))
        program = program.sliced(1, program.size() - 2);
    QString commandLine = command.commandLine; // CreateProcessW may write into it
    process.setProgram(program);
    process.setCreateProcessArgumentsModifier([&](QProcess::CreateProcessArguments *args) {
        args->applicationName = reinterpret_cast<const wchar_t *>(program.utf16());
        args->arguments = reinterpret_cast<wchar_t *>(commandLine.data());
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWNORMAL;
    });
#else
    // A bare name would be looked up along PATH; the file meant is the one
    // named, relative to the current directory as on Windows.
    QString program = command.program;
    if (!program.isEmpty() && !program.contains(u'/'))
        program.prepend(QLatin1StringView("./"));
    process.setProgram(program);
    // Output goes where the wizard's goes; terminal input is not the
    // program's to take, least of all once the wizard has ended.
    process.setStandardInputFile(QProcess::nullDevice());
#endif

    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        if (error) {
            *error = QCoreApplication::translate("SystemProcessServices",
                                                 "The program \"%1\" could not be started: %2.")
                         .arg(command.program, process.errorString());
        }
        return nullptr;
    }
    return std::make_unique<DetachedProcess>(pid);
}
