#pragma once

#include "platform/systemlog/systemlog.h"

// Keeps what would have gone to the system's log.
class RecordingSystemLog final : public SystemLog
{
public:
    void write(const SystemLogEntry &entry) override { entries << entry; }

    // The named value of `entry`, or a null string.
    static QString value(const SystemLogEntry &entry, const QString &name)
    {
        for (const auto &[key, text] : entry.values)
            if (key == name)
                return text;
        return QString();
    }

    QList<SystemLogEntry> entries;
};
