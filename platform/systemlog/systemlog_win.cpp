#include "platform/systemlog/systemlog.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

WORD eventType(SystemLogEntry::Level level)
{
    switch (level) {
    case SystemLogEntry::Level::Information:
        return EVENTLOG_INFORMATION_TYPE;
    case SystemLogEntry::Level::Warning:
        return EVENTLOG_WARNING_TYPE;
    case SystemLogEntry::Level::Error:
        break;
    }
    return EVENTLOG_ERROR_TYPE;
}

// The Application log under the source "TorvexSetup". Setup registers no
// source and writes nothing to the registry: an administrator who wants the
// sentence shown in Event Viewer registers it (New-EventLog), and an
// unregistered source still carries every insertion string.
class EventLog final : public SystemLog
{
public:
    void write(const SystemLogEntry &entry) override
    {
        HANDLE source = RegisterEventSourceW(nullptr, L"TorvexSetup");
        if (!source)
            return;
        std::vector<std::wstring> texts{entry.sentence.toStdWString()};
        for (const auto &value : entry.values)
            texts.push_back(value.second.toStdWString());
        std::vector<LPCWSTR> strings;
        for (const std::wstring &text : texts)
            strings.push_back(text.c_str());
        ReportEventW(source, eventType(entry.level), 0, DWORD(entry.eventId), nullptr, WORD(strings.size()), 0,
                     strings.data(), nullptr);
        DeregisterEventSource(source);
    }
};

} // namespace

std::unique_ptr<SystemLog> createSystemLog()
{
    return std::make_unique<EventLog>();
}
