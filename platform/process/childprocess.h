#pragma once

#include "platform/process/processservices.h"

#include <QTimer>

#ifdef Q_OS_WIN
class QWinEventNotifier;
#else
class QSocketNotifier;
#endif

// A program started as the wizard's own child, so that the wizard holds it
// from the first moment and learns how it ended: on Linux through a pidfd of
// the child and waitid (childprocess_unix.cpp), on Windows through the
// process handle (childprocess_win.cpp). The watch sleeps until the system
// reports the end. Destroying the watcher leaves the process running; until
// it ends, something still reaps it (see the destructors).
class ChildProcess final : public LaunchedProcess
{
    Q_OBJECT

public:
    using Watch = SystemProcessServices::Watch;

    // Starts exactly the program named (never looked up along PATH or
    // guessed along the spaces of a command line) with the arguments given;
    // null, with a reason for the user, when it cannot be started. `watch`
    // matters on POSIX only; a Windows process handle is always watched.
    static std::unique_ptr<ChildProcess> start(const LaunchCommand &command, Watch watch, QString *error);
    // Whether `program` names its file from the root, never relative to the
    // current folder (or, on Windows, to a drive's current folder).
    static bool isFullPath(const QString &program);
    // Whether this process may run the regular file `program`.
    static bool mayRun(const QString &program);
    // A descriptor (POSIX) or handle (Windows) kept open for exactly as long
    // as each program started from now on runs, even after this program has
    // ended, and never handed to anything that program starts: on POSIX a
    // keeper process of its own holds it and watches the program through a
    // pidfd; on Windows a copy that cannot be inherited is put into the
    // program itself, and goes when it ends. -1 for none.
    static void setKept(qintptr handle);
    ~ChildProcess() override;

    qint64 pid() const { return m_pid; }
    bool hasEnded() const override { return m_ended; }
    ProcessEnd howEnded() const override { return m_end; }

private:
    ChildProcess(qint64 pid, QObject *parent);

    static QString cannotStart(const QString &program, const QString &reason);
    static bool holdsNul(const LaunchCommand &command);
    static QString nulInPath();

    static qintptr s_kept;

    void checkEnd();
    void noticeEnd(ProcessEnd end);
    void stopWatching();

#ifdef Q_OS_WIN
    void *m_handle = nullptr;
    QWinEventNotifier *m_notifier = nullptr;
#else
    void watchPidfd(int pidfd);
    int m_pidfd = -1;
    QSocketNotifier *m_notifier = nullptr;
#endif

    const qint64 m_pid;
    bool m_ended = false;
    ProcessEnd m_end;
    QTimer m_pollTimer;
};
