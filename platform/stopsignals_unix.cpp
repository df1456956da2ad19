#include "platform/stopsignals.h"

#include <QSocketNotifier>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#include <utility>

namespace {

constexpr int StopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int HandledNumbers[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int HandledCount = int(std::size(HandledNumbers));

// What the handler touches has to be reachable without an object, and safe
// to use inside it: lock-free atomics, and a line fixed before it runs.
static_assert(std::atomic<int>::is_always_lock_free);
int writeEnd = -1; // the self-pipe's
std::atomic<int> unhandled{0};
std::atomic<int> atOnceStatus{1};
char atOnceLine[512];
size_t atOnceLength = 0;

// How each signal was handled before, to be put back; whether we changed it.
struct sigaction found[HandledCount];
bool changed[HandledCount];

extern "C" void onStopSignal(int number)
{
    const int savedErrno = errno;
    if (unhandled.fetch_add(1) > 0) {
        // The event loop has not taken the last request yet: it is held up,
        // and only the handler can end the program now.
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, atOnceLine, atOnceLength);
        ::_exit(atOnceStatus.load());
    }
    const unsigned char byte = static_cast<unsigned char>(number);
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

StopSignals::StopSignals(const QByteArray &line, int status, QObject *parent) : QObject(parent)
{
    atOnceLength = std::min(size_t(line.size()), sizeof atOnceLine);
    std::memcpy(atOnceLine, line.constData(), atOnceLength);
    atOnceStatus.store(status);
    unhandled.store(0);

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
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < HandledCount; ++i) {
        const int number = HandledNumbers[i];
        changed[i] = false;
        if (::sigaction(number, nullptr, &found[i]) != 0)
            continue;
        const bool stop = std::find(std::begin(StopSignalNumbers), std::end(StopSignalNumbers), number)
            != std::end(StopSignalNumbers);
        // Ignored by whoever started us (nohup, a background job): their choice.
        if (stop && found[i].sa_handler == SIG_IGN)
            continue;
        action.sa_handler = stop ? onStopSignal : SIG_IGN;
        changed[i] = ::sigaction(number, &action, nullptr) == 0;
    }
}

StopSignals::~StopSignals()
{
    if (m_readEnd < 0)
        return;
    for (int i = 0; i < HandledCount; ++i) {
        if (changed[i])
            ::sigaction(HandledNumbers[i], &found[i], nullptr);
    }
    ::close(std::exchange(writeEnd, -1));
    ::close(m_readEnd);
}

void StopSignals::setAtOnceStatus(int status)
{
    atOnceStatus.store(status);
}

void StopSignals::release(int)
{
    // Nothing waits for the last line here.
}

void StopSignals::readPending()
{
    unsigned char numbers[16];
    ssize_t count;
    while ((count = ::read(m_readEnd, numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            emit received(signalName(numbers[i]), false);
            // Handled only once acted on: one that comes while this one's
            // message is being written (to a full pipe, say) ends the program.
            unhandled.fetch_sub(1);
        }
    }
}
