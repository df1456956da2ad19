#pragma once

#include <QObject>
#include <QString>

// The requests to stop that a program started from a console gets: SIGINT,
// SIGTERM and SIGHUP; on Windows Ctrl+C, Ctrl+Break and the console's close.
// While this object lives they no longer end the program; each one is
// reported instead, through the event loop (never worked on inside the
// handler). Destroying it restores the default handling. One at a time.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    // `name` says which: "SIGTERM", "Ctrl+C", ...
    void received(const QString &name);

private:
    void readPending();

    int m_readEnd = -1; // POSIX: the self-pipe's read end
};
