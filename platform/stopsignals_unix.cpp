#include "platform/stopsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

constexpr int StopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP};

// The self-pipe's write end: the only thing the handler touches, so it has to
// be reachable without an object.
int writeEnd = -1;

extern "C" void onStopSignal(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds enough requests to stop.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

QString signalName(int number)
{
    switch (number) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    }
    return QStringLiteral("signal %1").arg(number);
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("StopSignals: no pipe (%s); signals keep their default effect", strerror(errno));
        return;
    }
    m_readEnd = ends[0];
    writeEnd = ends[1];
    auto *notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StopSignals::readPending);

    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : StopSignalNumbers)
        ::sigaction(number, &action, nullptr);
    // A reader that has gone away (a closed SSH session, a pipe into head)
    // makes writes fail rather than end the program in the middle of a run.
    // Started programs get the default back.
    ::signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals()
{
    if (m_readEnd < 0)
        return;
    for (const int number : StopSignalNumbers)
        ::signal(number, SIG_DFL);
    ::close(std::exchange(writeEnd, -1));
    ::close(m_readEnd);
}

void StopSignals::readPending()
{
    unsigned char numbers[16];
    ssize_t count;
    while ((count = ::read(m_readEnd, numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit received(signalName(numbers[i]));
    }
}
