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

// How often a wait for events must wake by itself: a tick that Qt posts from
// the system's timer thread has been seen not to wake a waiting event loop
// under Wine, so on Windows a wait never sleeps longer than this. Zero where
// the system's wake-ups can be trusted (ticksource_unix.cpp,
// ticksource_win.cpp).
std::chrono::milliseconds waitHeartbeatInterval();
