// Stand-in for the handheld remote-API library: one simulated handheld that
// counts as connected while its directory (TORVEX_HANDHELD) exists. Removing
// or renaming the directory unplugs it. Every call looks afresh; nothing is
// kept between calls.

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#define SIMRAPI_EXPORT extern "C" __declspec(dllexport)
#else
#define SIMRAPI_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#ifdef _WIN32
// The system's layout: the event is a HANDLE, so the record takes 24 bytes in
// a 64-bit process and 12 in a 32-bit one.
using EventHandle = void *;
#else
using EventHandle = uint32_t;
#endif

struct RapiInit
{
    uint32_t cbSize;
    EventHandle heRapiInit;
    int32_t hrRapiInit;
};
static_assert(sizeof(RapiInit) == (sizeof(EventHandle) == 8 ? 24 : 12), "RapiInit must keep the library's layout");

namespace {

constexpr int32_t ResultOk = 0;
constexpr int32_t ResultFail = static_cast<int32_t>(0x80004005u);
constexpr int32_t ResultInvalidArg = static_cast<int32_t>(0x80070057u);

// Single-byte version record: five 32-bit little-endian fields, then the text.
constexpr uint32_t VersionRecordSize = 148;
constexpr std::size_t TextOffset = 20;
constexpr std::size_t TextSize = 128;

constexpr uint32_t MajorVersion = 4;
constexpr uint32_t MinorVersion = 20;
constexpr uint32_t BuildNumber = 1081;
constexpr uint32_t PlatformId = 3;
constexpr char ServiceText[] = "Simulated Pocket PC";
static_assert(sizeof ServiceText <= TextSize, "service text must leave room for its NUL");

bool handheldConnected()
{
    const char *dir = std::getenv("TORVEX_HANDHELD");
    if (!dir || !*dir)
        return false;
    struct stat info{};
    return stat(dir, &info) == 0 && S_ISDIR(info.st_mode);
}

uint32_t readLe32(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void writeLe32(unsigned char *p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

SIMRAPI_EXPORT int32_t CeRapiInitEx(RapiInit *init)
{
    // Like the system's library may, a record of another size than its own
    // is refused.
    if (!init || init->cbSize != sizeof(RapiInit))
        return ResultInvalidArg;
    // The link is up at once: there is no event to wait on.
    const int32_t result = handheldConnected() ? ResultOk : ResultFail;
    init->heRapiInit = {};
    init->hrRapiInit = result;
    return result;
}

SIMRAPI_EXPORT int32_t CeGetVersionEx(unsigned char *record)
{
    // Like the real call, a record announcing another size is refused.
    if (!record || readLe32(record) != VersionRecordSize || !handheldConnected())
        return 0;
    writeLe32(record + 4, MajorVersion);
    writeLe32(record + 8, MinorVersion);
    writeLe32(record + 12, BuildNumber);
    writeLe32(record + 16, PlatformId);
    std::memset(record + TextOffset, 0, TextSize);
    std::memcpy(record + TextOffset, ServiceText, sizeof ServiceText - 1);
    return 1;
}
