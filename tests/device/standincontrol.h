#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QString>

#include <cstdint>

// Reaches the test-only exports of a loaded stand-in library. QLibrary shares
// one handle per file, so this sees the same state as the binding under test.
class StandInControl
{
public:
    explicit StandInControl(const QString &path);

    void reset();
    // The next version queries write `record` (up to 276 bytes) and return `result`.
    void answer(int32_t result, const QByteArray &record);

    int initCalls();
    int versionCalls();
    int uninitCalls();
    uint32_t receivedInitSize();
    QByteArray receivedRecord(); // all 276 bytes the last version query was handed

private:
    template<typename Fn>
    Fn function(const char *name);

    QLibrary m_library;
};
