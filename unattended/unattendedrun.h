#pragma once

#include "install/installrun.h"

#include <QObject>
#include <QStringList>

#include <memory>

class OutputStream;
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
    QString lockWarning;    // why it runs without the one-Setup lock, its values escaped; empty when held
};

// The install list with no window and no question: what Next on the ready
// page does, told on standard output, standard error and in the log, ending
// with an exit status. Needs a QCoreApplication and nothing graphical.
class UnattendedRun : public QObject
{
    Q_OBJECT

public:
    UnattendedRun(const UnattendedOptions &options, const InstallServices &services, OutputStream &out,
                  OutputStream &err, QObject *parent = nullptr);
    ~UnattendedRun() override;

    // Opens the log, enters the kit, runs; returns the exit status.
    int exec();

    // A request to stop (a signal, Ctrl+C): the first ends the list after
    // the run in progress, a second stops waiting at once, and so does a
    // `final` one (the system ends the program soon whatever it does). The
    // manager is never stopped.
    void stop(const QString &why, bool final = false);

    // Tells `report` what `install` does for as long as `context` lives: the
    // handheld, the manager, each run and pause, and how each attempt ended.
    static void connectReport(InstallRun &install, RunReport &report, QObject *context);

signals:
    // The manager's process for a run exists: from now on a stop leaves the
    // handheld perhaps partly set up.
    void runMade();

private:
    UnattendedOptions m_options;
    OutputStream &m_out;
    OutputStream &m_err;
    std::unique_ptr<OutputStream> m_log;
    InstallRun m_install;
    std::unique_ptr<RunReport> m_report;
    int m_stopRequests = 0;
};

// The program's unattended mode: a QCoreApplication, the system's services
// with pauses timed by `ticks`, standard output and error (status 2 when
// standard output cannot be written), and the signals that ask to stop.
// Returns the exit status.
int runUnattended(int &argc, char **argv, const UnattendedOptions &options, TickSource &ticks);
