#include "device/module1.h"
#include "platform/remoteapi.h"
// Placeholder until the probe lands.
namespace Module1 {
bool DeviceConnected(RemoteApi &) { return false; }
QString DeviceVersionText(RemoteApi &) { return {}; }
}
