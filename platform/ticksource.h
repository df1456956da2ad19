#pragma once

#include <chrono>

class QObject;
class QTimer;

// Makes the wizard's timers. The program's timers tick in real time; tests
// substitute a source whose timers run faster, so that long pauses take
// milliseconds while every tick is still counted.
class TickSource
{
public:
    virtual ~TickSource() = default;

    // A stopped timer that, once started, times out every `interval`.
    virtual QTimer *createTimer(std::chrono::milliseconds interval, QObject *parent) = 0;
};

class RealTickSource final : public TickSource
{
public:
    QTimer *createTimer(std::chrono::milliseconds interval, QObject *parent) override;
};
