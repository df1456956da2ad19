#include "platform/process/stopsignals.h"

#include <QSocketNotifier>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int StopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int StopSignalCount = int(std::size(StopSignalNumbers));

// What the handler touches has to be reachable without an object, and safe
// to use inside it: lock-free atomics, and a line fixed before it runs.
static_assert(std::atomic<int>::is_always_lock_free);
int writeEnd = -1; // the self-pipe's
std::atomic<int> unhandled{0};
std::atomic<int> atOnceStatus{1};
char atOnceLine[512];
size_t atOnceLength = 0;

// How each signal was handled before, to be put back; whether we changed it;
// whether our handler is in place.
struct sigaction found[StopSignalCount];
bool changed[StopSignalCount];
bool installed = false;

// The at-once line, written so that it never waits: the program ends even
// when standard error is the full pipe the event loop is stuck on.
void writeAtOnceLine()
{
    struct stat info;
    if (::fstat(STDERR_FILENO, &info) != 0)
        return;
    // A file or disk takes it without waiting for anyone, and a description
    // of our own would write from its start rather than at its end.
    if (S_ISREG(info.st_mode) || S_ISBLK(info.st_mode)) {
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, atOnceLine, atOnceLength);
        return;
    }
    if (S_ISSOCK(info.st_mode)) {
        [[maybe_unused]] const ssize_t sent =
            ::send(STDERR_FILENO, atOnceLine, atOnceLength, MSG_DONTWAIT | MSG_NOSIGNAL);
        return;
    }
    // A pipe, FIFO or terminal, opened anew without waiting: setting
    // O_NONBLOCK on descriptor 2 itself would change it for everyone who
    // shares it (the shell), and after we are gone. A pipe whose reader has
    // gone opens with an error; a full one takes nothing.
    const int fd = ::open("/proc/self/fd/2", O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(fd, atOnceLine, atOnceLength);
    ::close(fd);
}

extern "C" void onStopSignal(int number)
{
    const int savedErrno = errno;
    if (unhandled.fetch_add(1) > 0) {
        // The event loop has not taken the last request yet: it is held up,
        // and only the handler can end the program now.
        writeAtOnceLine();
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

void setAtOnce(const QByteArray &line, int status)
{
    atOnceLength = std::min(size_t(line.size()), sizeof atOnceLine);
    std::memcpy(atOnceLine, line.constData(), atOnceLength);
    atOnceStatus.store(status);
}

void installHandler()
{
    if (installed)
        return;
    installed = true;
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    action.sa_handler = onStopSignal;
    for (int i = 0; i < StopSignalCount; ++i) {
        changed[i] = false;
        // Ignored by whoever started us (nohup, a background job): their choice.
        if (::sigaction(StopSignalNumbers[i], nullptr, &found[i]) != 0 || found[i].sa_handler == SIG_IGN)
            continue;
        changed[i] = ::sigaction(StopSignalNumbers[i], &action, nullptr) == 0;
    }
}

} // namespace

void StopSignals::endAtOnceUntilMade(const QByteArray &line, int status)
{
    setAtOnce(line, status);
    // As if a request were waiting already: the next one ends the program.
    unhandled.store(1);
    installHandler();
}

StopSignals::StopSignals(const QByteArray &line, int status, QObject *parent) : QObject(parent)
{
    setAtOnce(line, status);

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        // Handlers put in place before stay as they are: each request ends
        // the program at once.
        qWarning("StopSignals: no pipe (%s); signals keep their default effect", strerror(errno));
        return;
    }
    m_readEnd = ends[0];
    writeEnd = ends[1];
    auto *notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StopSignals::readPending);
    // Only once the pipe is there is a request left to the event loop.
    unhandled.store(0);
    installHandler();
}

StopSignals::~StopSignals()
{
    if (m_readEnd < 0)
        return;
    for (int i = 0; i < StopSignalCount; ++i) {
        if (changed[i])
            ::sigaction(StopSignalNumbers[i], &found[i], nullptr);
    }
    installed = false;
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
