// A stand-in for the handheld remote-API library with the library's binary
// interface, plus test-only exports that script its answer and report what it
// was handed. STANDIN_WITHOUT_INIT / STANDIN_WITHOUT_VERSION leave out one
// entry point.

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// The size of the wide record the system's own library writes.
constexpr int32_t WideRecordSize = 276;

#ifdef _WIN32
using EventHandle = void *; // the system's HANDLE
#else
using EventHandle = uint32_t;
#endif

struct RapiInit
{
    uint32_t cbSize;
    EventHandle heRapiInit;
    int32_t hrRapiInit;
};

// By default a connected device: 4.20.1081 with an empty service text.
const unsigned char DefaultAnswer[20] = {148, 0, 0, 0, 4, 0, 0, 0, 20, 0, 0, 0, 0x39, 0x04, 0, 0};

int32_t result = 1;
unsigned char answer[WideRecordSize];
int32_t answerLength = 0;
unsigned char received[WideRecordSize];
uint32_t receivedInitSize = 0;
int32_t initCalls = 0;
int32_t versionCalls = 0;
int32_t uninitCalls = 0;

} // namespace

STANDIN_EXPORT void StandInReset()
{
    result = 1;
    std::memset(answer, 0, sizeof answer);
    std::memcpy(answer, DefaultAnswer, sizeof DefaultAnswer);
    answerLength = sizeof DefaultAnswer;
    std::memset(received, 0, sizeof received);
    receivedInitSize = 0;
    initCalls = 0;
    versionCalls = 0;
    uninitCalls = 0;
}

// The next version queries return `value` after writing the first `length`
// bytes (at most 276) of `bytes` into the caller's record.
STANDIN_EXPORT void StandInAnswer(int32_t value, const unsigned char *bytes, int32_t length)
{
    result = value;
    answerLength = std::clamp<int32_t>(length, 0, WideRecordSize);
    std::memcpy(answer, bytes, static_cast<size_t>(answerLength));
}

STANDIN_EXPORT int32_t StandInInitCalls() { return initCalls; }
STANDIN_EXPORT int32_t StandInVersionCalls() { return versionCalls; }
STANDIN_EXPORT int32_t StandInUninitCalls() { return uninitCalls; }
STANDIN_EXPORT uint32_t StandInReceivedInitSize() { return receivedInitSize; }

// The 276 bytes the last version query was handed, before it wrote its answer.
STANDIN_EXPORT void StandInReceivedRecord(unsigned char *out)
{
    std::memcpy(out, received, sizeof received);
}

#ifndef STANDIN_WITHOUT_INIT
STANDIN_EXPORT int32_t CeRapiInitEx(RapiInit *init)
{
    ++initCalls;
    receivedInitSize = init->cbSize;
    std::memset(&init->heRapiInit, 0xFF, sizeof init->heRapiInit);
    init->hrRapiInit = static_cast<int32_t>(0x80004005u);
    return 0;
}
#endif

#ifndef STANDIN_WITHOUT_VERSION
STANDIN_EXPORT int32_t CeGetVersionEx(unsigned char *record)
{
    ++versionCalls;
    // Reading the whole wide size is what the system library may do too.
    std::memcpy(received, record, sizeof received);
    std::memcpy(record, answer, static_cast<size_t>(answerLength));
    return result;
}
#endif

STANDIN_EXPORT int32_t CeRapiUninit()
{
    ++uninitCalls;
    return 0;
}

namespace {
struct StartState
{
    StartState() { StandInReset(); }
} startState;
} // namespace
