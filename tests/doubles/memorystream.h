#pragma once

#include "platform/io/outputstream.h"

// Keeps what is written; fails every write from a chosen one on, as a full
// disk or a reader that has gone away would.
class MemoryStream final : public OutputStream
{
public:
    bool write(const QString &text) override
    {
        if (writesBeforeFailing == 0)
            return false;
        if (writesBeforeFailing > 0)
            --writesBeforeFailing;
        this->text += text;
        return true;
    }
    QString errorString() const override
    {
        return writesBeforeFailing == 0 ? QStringLiteral("No space left on device") : QString();
    }

    QString text;
    int writesBeforeFailing = -1; // < 0: never fails
};
