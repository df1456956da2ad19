#pragma once

#include "platform/instancelock.h"

#include <memory>

// One Setup at a time on this desktop, in the window and unattended alike:
// two would run the application manager on the same handheld at once. The
// lock is held for as long as the returned object lives. A lock that cannot
// be made at all does not stop Setup, which says so on standard error.
std::unique_ptr<InstanceLock> takeSetupLock();
