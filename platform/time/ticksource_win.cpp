#include "platform/time/ticksource.h"

std::chrono::milliseconds waitHeartbeatInterval()
{
    // A lost tick is then late by a tenth of a second at most.
    return std::chrono::milliseconds(100);
}
