#pragma once

#include "platform/lock/instancelock.h"

#include <QString>

#include <memory>
#include <optional>

// One Setup at a time on this machine, in the window and unattended alike,
// whoever starts it: two would run the application manager on the same
// handheld at once. The lock is the machine's (InstanceLock::machineWide), or
// the one TORVEX_LOCK names, so that tests and the demo keep their Setups to
// themselves. It is held for as long as the returned object lives, and for as
// long as each application manager it started runs. A machine lock that
// cannot be made at all does not stop Setup (see setupLockWarning()); one
// that TORVEX_LOCK names wrongly does (see setupLockRefusal()).
std::unique_ptr<InstanceLock> takeSetupLock();

// What Setup says when it goes on without the lock because none can be made
// (its values escaped, without the program's name before it); empty when
// there is nothing to say.
QString setupLockWarning(const InstanceLock &lock);

// Why Setup refuses to run with the lock TORVEX_LOCK names (its values
// escaped, without the program's name before it); empty when it does not.
QString setupLockRefusal(const InstanceLock &lock);

// A sentence that names the lock another Setup holds and, where the system
// tells, its holder, for an administrator to act on.
QString setupLockHolder(const InstanceLock &lock);

// A Setup refused because another holds the lock still reaches a result: it
// is written to the system's log (for a fleet to see and retry), alone, as no
// install was started. `mode` and the full paths as InstallJournal takes them.
void logSetupLockRefusal(const QString &mode, const QString &kit, const QString &logPath,
                         std::optional<bool> listA = std::nullopt);
