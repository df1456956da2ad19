#include "wizard/form1.h"

#include <QCoreApplication>
#include <QTimer>

void Form1::waitForEvents()
{
    // One pass of the event loop that sleeps until something happens (a
    // tick, the end of a process, input) instead of spinning a core.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Form1::PauseTicks(int ticks)
{
    m_vars.PauseTickTarget = static_cast<int16_t>(ticks);
    m_vars.PauseTickCount = 0;
    TimerOUT->start();
    do {
        waitForEvents();
    } while (TimerOUT->isActive() && !m_unloaded);
}

void Form1::TimerOUT_Timer()
{
    ++m_vars.PauseTickCount;
    if (m_vars.PauseTickCount >= m_vars.PauseTickTarget)
        TimerOUT->stop();
}
