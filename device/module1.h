#pragma once

#include <QString>

class RemoteApi;

// The check that a handheld is connected: start the remote link and ask the
// device for its operating-system version.
namespace Module1 {

// True when a device answered the version query. Never throws: a missing
// library or entry point, a refused query or an unreadable answer is False.
bool DeviceConnected(RemoteApi &api) noexcept;

// The same probe, answering with the version the device reported: empty
// exactly when DeviceConnected would be False.
QString ConnectedDeviceVersion(RemoteApi &api) noexcept;

// The same probe, telling a library that cannot be used from a device that
// does not answer: `version` as above, and `libraryProblem` a sentence naming
// the library when it could not be bound (then `version` is empty).
struct Probe
{
    QString version;
    QString libraryProblem;
    // The problem is not the library's: there was no folder to load it from.
    bool noTemporaryFolder = false;
};
Probe ProbeDevice(RemoteApi &api) noexcept;

// "major.minor.build service", or empty when the query reports failure.
// Throws std::invalid_argument when the service text has no terminating NUL,
// and RemoteApiUnavailable when the library cannot be bound.
QString DeviceVersionText(RemoteApi &api);

} // namespace Module1
