#include "platform/systemlog/systemlog.h"

#include "platform/text/systemnames.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>
// The source location of the call would name this file only.
#define SD_JOURNAL_SUPPRESS_LOCATION
#include <systemd/sd-journal.h>

#include <vector>

namespace {

// Fixed for good: collectors filter on them (journalctl MESSAGE_ID=...).
const QByteArray StartedId = QByteArrayLiteral("b5ae330b658e4658b9bd6b8e9e41d285");
const QByteArray EndedId = QByteArrayLiteral("9d2730c02a8e4e81b816a01fdb068cd6");

int priority(SystemLogEntry::Level level)
{
    switch (level) {
    case SystemLogEntry::Level::Information:
        return LOG_INFO;
    case SystemLogEntry::Level::Warning:
        return LOG_WARNING;
    case SystemLogEntry::Level::Error:
        break;
    }
    return LOG_ERR;
}

// sd_journal_sendv waits for as long as the journal's socket takes nothing
// (a stuck journal, or a socket there that is not the journal's), and the
// install with it. Whether it takes an entry now, asked of a socket of our
// own: one that does not within a second is as good as no journal.
bool journalTakesEntries()
{
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "/run/systemd/journal/socket");
    bool takes = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        pollfd journal = {fd, POLLOUT, 0};
        int ready;
        while ((ready = ::poll(&journal, 1, 1000)) < 0 && errno == EINTR) {
        }
        takes = ready == 1 && (journal.revents & POLLOUT) != 0;
    }
    ::close(fd);
    return takes;
}

class Journal final : public SystemLog
{
public:
    void write(const SystemLogEntry &entry) override
    {
        std::vector<QByteArray> fields{
            "MESSAGE=" + entry.sentence.toUtf8(),
            "MESSAGE_ID=" + (entry.kind == SystemLogEntry::Kind::Started ? StartedId : EndedId),
            "PRIORITY=" + QByteArray::number(priority(entry.level)),
            QByteArrayLiteral("SYSLOG_IDENTIFIER=TorvexSetup"),
        };
        for (const auto &[name, value] : entry.values)
            // A kit or log named with bytes that are not text keeps them.
            fields.push_back("TORVEX_" + name.toUtf8() + '=' + systemName(value));
        // The vector form takes each field as it is, line breaks included.
        std::vector<iovec> vector;
        for (QByteArray &field : fields)
            vector.push_back({field.data(), size_t(field.size())});
        // No journal (a container): nothing to tell, and nothing lost for the install.
        if (journalTakesEntries())
            sd_journal_sendv(vector.data(), int(vector.size()));
    }
};

} // namespace

std::unique_ptr<SystemLog> createSystemLog()
{
    return std::make_unique<Journal>();
}
