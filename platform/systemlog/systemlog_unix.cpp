#include "platform/systemlog/systemlog.h"

#include <QByteArray>

#include <sys/uio.h>
#include <syslog.h>
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
            fields.push_back("TORVEX_" + name.toUtf8() + '=' + value.toUtf8());
        // The vector form takes each field as it is, line breaks included.
        std::vector<iovec> vector;
        for (QByteArray &field : fields)
            vector.push_back({field.data(), size_t(field.size())});
        // No journal (a container): nothing to tell, and nothing lost for the install.
        sd_journal_sendv(vector.data(), int(vector.size()));
    }
};

} // namespace

std::unique_ptr<SystemLog> createSystemLog()
{
    return std::make_unique<Journal>();
}
