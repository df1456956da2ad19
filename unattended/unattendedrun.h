#pragma once

#include "install/installrun.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class InstallJournal;
class OutputStream;
class RunReport;
class SystemLog;
class TickSource;

// What the command line asks of a run without a window.
struct UnattendedOptions
{
    bool checkOnly = false; // --check: probe, registry and INI check, then the command lines
    bool json = false;      // --json
    bool passive = false;   // --passive: the same run, shown in the wizard's window
    bool systemLog = true;  // the start and the result in the system's log; off with --no-system-log
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

    // Where the start and the result of an install go besides (not for
    // --check); none by default.
    void setSystemLog(SystemLog *log) { m_systemLog = log; }

    // Opens the log, enters the kit, runs; returns the exit status.
    int exec();
    // Once exec() has returned: why it ended, as the result line or the one
    // line on standard error says it.
    QString reason() const { return m_reason; }

    // A request to stop (a signal, Ctrl+C): the first ends the list after
    // the run in progress, a second stops waiting at once, and so does a
    // `final` one (the system ends the program soon whatever it does). The
    // manager is never stopped.
    void stop(const QString &why, bool final = false);

    // The install this run drives, for whoever shows it.
    InstallRun &installRun() { return m_install; }

    // Tells `report` what `install` does for as long as `context` lives: the
    // handheld, the manager, each run and pause, and how each attempt ended.
    static void connectReport(InstallRun &install, RunReport &report, QObject *context);

signals:
    // The manager's process for a run exists: from now on a stop leaves the
    // handheld perhaps partly set up.
    void runMade();
    // A request to stop came: `atOnce` when it asks to exit now (a second or
    // final one, or any once the result is out), for whoever shows the run.
    void stopRequested(bool atOnce);

private:
    UnattendedOptions m_options;
    OutputStream &m_out;
    OutputStream &m_err;
    std::unique_ptr<OutputStream> m_log;
    InstallRun m_install;
    std::unique_ptr<RunReport> m_report;
    SystemLog *m_systemLog = nullptr;
    std::unique_ptr<InstallJournal> m_journal;
    int m_stopRequests = 0;
    bool m_finished = false;
    QString m_reason;
};

// The program's unattended mode: a QCoreApplication, the system's services
// with pauses timed by `ticks`, standard output and error (status 2 when
// standard output cannot be written), and the signals that ask to stop.
// Returns the exit status.
int runUnattended(int &argc, char **argv, const UnattendedOptions &options, TickSource &ticks);

// What a caller adds to a run with the system's services: `prepare` is given
// the run and its services before it starts, `conclude` its status once it
// is over (still while stop requests are taken) and returns the program's.
struct RunAdditions
{
    std::function<void(UnattendedRun &run, const InstallServices &services)> prepare;
    std::function<int(int status)> conclude;
};

// runUnattended() in an application that exists already (QCoreApplication
// or QApplication), its catalogues installed.
int runWithSystemServices(const UnattendedOptions &options, TickSource &ticks, const RunAdditions &additions = {});
