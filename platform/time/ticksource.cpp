#include "platform/time/ticksource.h"

#include <QTimer>

QTimer *RealTickSource::createTimer(std::chrono::milliseconds interval, QObject *parent)
{
    auto *timer = new QTimer(parent);
    // Precise, so that n one-second ticks last n seconds rather than n seconds
    // plus the coarse timer's slack of up to 5% per tick.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(interval);
    return timer;
}
