#include "device/module1.h"

#include "device/ceosversioninfo.h"
#include "platform/remoteapi/remoteapi.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace Module1 {

bool DeviceConnected(RemoteApi &api) noexcept
{
    return !ConnectedDeviceVersion(api).isEmpty();
}

QString ConnectedDeviceVersion(RemoteApi &api) noexcept
{
    return ProbeDevice(api).version;
}

Probe ProbeDevice(RemoteApi &api) noexcept
{
    try {
        // The link is started anew on every probe and never ended; its result
        // is not examined, the version query decides.
        // The record's own size, as the library declares the record: 24 bytes
        // in a 64-bit Windows process, where the event handle is 8 bytes wide
        // (platform/remoteapi/remoteapi.h).
        RapiInit init{};
        init.cbSize = sizeof(RapiInit);
        api.CeRapiInitEx(&init);
        return {DeviceVersionText(api), QString()};
    } catch (const RemoteApiUnavailable &unavailable) {
        try {
            return {QString(), QString::fromUtf8(unavailable.what()),
                    dynamic_cast<const TemporaryFolderUnavailable *>(&unavailable) != nullptr};
        } catch (...) {
            return {};
        }
    } catch (...) {
        return {};
    }
}

QString DeviceVersionText(RemoteApi &api)
{
    CEOSVERSIONINFO info;
    info.size = SingleByteVersionRecordSize;

    // The system's library fills its larger wide record, so the buffer it gets
    // is that large; only the single-byte record at its start is read back.
    std::array<unsigned char, RemoteApi::RecordBufferSize> buffer{};
    const auto record = std::span(buffer).first<SingleByteVersionRecordSize>();
    toSingleByte(info, record);
    const int32_t answered = api.CeGetVersionEx(buffer.data());
    info = fromSingleByte(record);
    if (answered == 0)
        return {};

    const auto &text = info.serviceText;
    const auto end = std::find(text.begin(), text.end(), u'\0');
    if (end == text.end())
        throw std::invalid_argument("service text has no terminating NUL");

    return QString::number(info.majorVersion) + u'.' + QString::number(info.minorVersion) + u'.'
        + QString::number(info.buildNumber) + u' '
        + QStringView(text.data(), end - text.begin()).toString();
}

} // namespace Module1
