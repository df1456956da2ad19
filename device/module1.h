#pragma once

#include <QString>

class RemoteApi;

// The check that a handheld is connected: start the remote link and ask the
// device for its operating-system version.
namespace Module1 {

// True when a device answered the version query. Never throws.
bool DeviceConnected(RemoteApi &api);

// "major.minor.build service", or empty when the query reports failure.
// Throws when the answer cannot be read.
QString DeviceVersionText(RemoteApi &api);

} // namespace Module1
