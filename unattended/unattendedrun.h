#pragma once

#include "install/installrun.h"

#include <QFile>
#include <QObject>
#include <QStringList>

#include <memory>

class QIODevice;
class RunReport;
class TickSource;

// What the command line asks of a run without a window.
struct UnattendedOptions
{
    bool checkOnly = false; // --check: probe, registry and INI check, then the command lines
    bool json = false;      // --json
    bool listA = true;      // --platform 4.0-or-higher (list A) or earlier (list B)
    QString logPath;        // --log; empty for none
    QString kit;            // --kit; empty for the current directory
    QStringList arguments;  // the command line as given, for the log
};

// The install list with no window and no question: what Next on the ready
// page does, told on standard output, standard error and in the log, ending
// with an exit status. Needs a QCoreApplication and nothing graphical.
class UnattendedRun : public QObject
{
    Q_OBJECT

public:
    UnattendedRun(const UnattendedOptions &options, const InstallServices &services, QIODevice &out,
                  QIODevice &err, QObject *parent = nullptr);
    ~UnattendedRun() override;

    // Opens the log, enters the kit, runs; returns the exit status.
    int exec();

    // A request to stop (a signal, Ctrl+C): the first ends the list after
    // the run in progress, a second stops waiting at once. The manager is
    // never stopped.
    void stop(const QString &why);

    // Tells `report` what `install` does for as long as `context` lives: the
    // handheld, the manager, each run and pause, and how each attempt ended.
    static void connectReport(InstallRun &install, RunReport &report, QObject *context);

private:

    UnattendedOptions m_options;
    QIODevice &m_out;
    QIODevice &m_err;
    QFile m_log;
    InstallRun m_install;
    std::unique_ptr<RunReport> m_report;
    int m_stopRequests = 0;
};

// The program's unattended mode: a QCoreApplication, the system's services
// with pauses timed by `ticks`, standard output and error, and the signals
// that ask to stop. Returns the exit status.
int runUnattended(int &argc, char **argv, const UnattendedOptions &options, TickSource &ticks);
