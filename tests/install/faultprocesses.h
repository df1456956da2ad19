#pragma once

#include <QByteArray>
#include <QString>

// The application managers of the fault tests and the watch on them, made per
// system: shell scripts on POSIX (faultprocesses_unix.cpp), copies of the
// Windows test child on Windows (faultprocesses_win.cpp). Managers are made
// in the current folder, which is also theirs when the wizard runs them.
namespace FaultProcesses {

// A manager that counts its runs and ends run `failingRun` as `end` says (a
// shell command; on Windows an action of the test child), until a file
// "mended" is there; any other run exits with 0. Returns its path.
QString writeFailingManager(int failingRun, const QByteArray &end);

// A manager that writes its process id to "pid", works until a file "finish"
// is there, then writes "done" and exits with 0. Returns its path.
QString writeSlowManager();

// Makes this process the one that learns how runs end that outlive a wizard
// it started (on Linux they would go to init otherwise).
bool adoptOrphans();

// Has the system reap this process's children unasked, as a wizard started
// with SIGCHLD ignored would have it (nothing to do on Windows).
void ignoreChildEnds();

// Whether process `pid` has ended and left nothing behind: no zombie, no
// process object kept open.
bool isGone(qint64 pid);

// Has the system reap this process's children unasked, as a wizard started
// with SIGCHLD ignored would have it (nothing to do on Windows).
void ignoreChildEnds();

// Whether process `pid`, the wizard's child and no child of this one, is
// still at work.
bool isRunning(qint64 pid);

// Waits up to `timeoutMs` for process `pid`, the wizard's child and no child
// of this one, to end; true when it ended with exit code 0.
bool waitForCleanEnd(qint64 pid, int timeoutMs);

} // namespace FaultProcesses
