#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The requests to stop that a program started from a console gets: SIGINT,
// SIGTERM and SIGHUP; on Windows Ctrl+C, Ctrl+Break and the console's close.
// While this object lives they no longer end the program; each one is
// reported instead, through the event loop (never worked on inside the
// handler). A signal the program was started with set to be ignored (under
// nohup, say) stays ignored. Destroying the object restores each disposition
// as it was found. One at a time. (SIGPIPE is not this object's: see
// ignoreBrokenPipes().)
//
// The event loop may be held up (opening a FIFO that has no reader, writing
// to a full pipe). A request that comes while an earlier one has not yet
// reached it ends the program at once, from the handler: `atOnceLine` on
// standard error where it can be written without waiting (at most a moment
// on Windows), then the status last set with setAtOnceStatus().
class StopSignals : public QObject
{
    Q_OBJECT

public:
    StopSignals(const QByteArray &atOnceLine, int atOnceStatus, QObject *parent = nullptr);
    ~StopSignals() override;

    // Before an object is made (the event loop may not run yet, and what
    // comes first may wait: a lock being taken, a line to a full pipe): from
    // now on each request ends the program at once, with `atOnceLine` and
    // `status` as above. The object made later takes requests over; called
    // again, this changes the line and status.
    static void endAtOnceUntilMade(const QByteArray &atOnceLine, int status);

    void setAtOnceStatus(int status);
    // The program has written its last line and ends with `status`. On
    // Windows a console being closed waits for this (up to 4 s; the system
    // ends the program soon after) and then ends the program with `status`.
    void release(int status);

signals:
    // `name` says which: "SIGTERM", "Ctrl+C", ... `final` when the system
    // ends the program shortly whatever it does (a console closed).
    void received(const QString &name, bool final);

private:
    void readPending();

    int m_readEnd = -1; // POSIX: the self-pipe's read end
};
