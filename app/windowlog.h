#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class InstallRun;
class OutputStream;
class RunReport;

// The window's install written to --log line for line as an unattended run
// writes it: the arguments, the handheld, the manager, each run and pause,
// what each attempt ended with, and the exit status once the window is gone.
class WindowLog
{
public:
    WindowLog();
    ~WindowLog();

    // Opens `path` to append to; nothing to do when it is empty. False, after
    // a line on standard error, when it cannot be opened.
    // Its first line holds `arguments`, and must be written too.
    bool open(const QString &path, const QStringList &arguments);
    // A "message" event, its values escaped already.
    void message(const QString &text);
    // From now on, logs what `install` does.
    void follow(InstallRun &install);
    // The result line.
    void finish(int status);

private:
    std::unique_ptr<OutputStream> m_file;
    std::unique_ptr<OutputStream> m_discard;
    std::unique_ptr<RunReport> m_report;
    QObject m_context;
};
