#include "platform/time/ticksource.h"

std::chrono::milliseconds waitHeartbeatInterval()
{
    return std::chrono::milliseconds(0);
}
