// Loads the built remote-API library (librapi.so, rapi.dll) as the wizard does and checks that the simulated
// handheld answers exactly while its directory exists.

#include "check.h"
#include "system.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

#ifdef _WIN64
using EventHandle = void *;
constexpr uint32_t InitSize = 24; // the 8-byte HANDLE of a 64-bit process
#else
using EventHandle = uint32_t;
constexpr uint32_t InitSize = 12;
#endif

struct RapiInit
{
    uint32_t cbSize;
    EventHandle heRapiInit;
    int32_t hrRapiInit;
};
static_assert(sizeof(RapiInit) == InitSize);

using InitFn = int32_t (*)(RapiInit *);
using VersionFn = int32_t (*)(unsigned char *);

InitFn initEx = nullptr;
VersionFn versionEx = nullptr;

// The wizard hands over a larger zeroed buffer; the tail is filled with a
// marker here to catch writes beyond the 148-byte record.
using Buffer = std::array<unsigned char, 276>;

Buffer freshRecord(uint32_t size = 148)
{
    Buffer b;
    b.fill(0);
    std::fill(b.begin() + 148, b.end(), 0xAA);
    std::memcpy(b.data(), &size, 4);
    return b;
}

uint32_t field(const Buffer &b, int offset)
{
    return uint32_t(b[offset]) | uint32_t(b[offset + 1]) << 8 | uint32_t(b[offset + 2]) << 16
        | uint32_t(b[offset + 3]) << 24;
}

int32_t init()
{
    RapiInit record{InitSize, {}, 0};
    return initEx(&record);
}

void expectUnplugged(const char *context)
{
    checkContext() = context;
    CHECK(init() < 0);
    Buffer record = freshRecord();
    const Buffer before = record;
    CHECK_EQ(versionEx(record.data()), 0);
    CHECK(record == before);
}

void expectPlugged(const char *context)
{
    checkContext() = context;
    CHECK_EQ(init(), 0);
    Buffer record = freshRecord();
    CHECK(versionEx(record.data()) != 0);
    CHECK_EQ(field(record, 0), 148u);
    CHECK_EQ(field(record, 4), 4u);
    CHECK_EQ(field(record, 8), 20u);
    CHECK_EQ(field(record, 12), 1081u);
    CHECK_EQ(field(record, 16), 3u);
    const std::string text(reinterpret_cast<const char *>(record.data() + 20));
    CHECK_EQ(text, std::string("Simulated Pocket PC"));
    CHECK(std::all_of(record.begin() + 20 + text.size(), record.begin() + 148, [](unsigned char c) { return c == 0; }));
    CHECK(std::all_of(record.begin() + 148, record.end(), [](unsigned char c) { return c == 0xAA; }));
}

} // namespace

int main()
{
    initEx = reinterpret_cast<InitFn>(loadEntryPoint(SIMRAPI_PATH, "CeRapiInitEx"));
    versionEx = reinterpret_cast<VersionFn>(loadEntryPoint(SIMRAPI_PATH, "CeGetVersionEx"));
    if (!initEx || !versionEx) {
        std::cerr << "entry points missing\n";
        return 1;
    }

    const fs::path scratch = makeScratch("torvex-simrapi");
    const fs::path handheld = scratch / "handheld";
    const fs::path unplugged = scratch / "unplugged";

    setVariable("TORVEX_HANDHELD", nullptr);
    expectUnplugged("variable unset");
    setVariable("TORVEX_HANDHELD", "");
    expectUnplugged("variable empty");
    setVariable("TORVEX_HANDHELD", handheld.string().c_str());
    expectUnplugged("directory missing");
    fs::create_directory(handheld);
    expectPlugged("plugged in");
    fs::rename(handheld, unplugged);
    expectUnplugged("renamed away");
    fs::rename(unplugged, handheld);
    expectPlugged("renamed back");
    std::ofstream(scratch / "file") << "not a directory";
    setVariable("TORVEX_HANDHELD", (scratch / "file").string().c_str());
    expectUnplugged("a plain file");
    setVariable("TORVEX_HANDHELD", handheld.string().c_str());

    checkContext() = "bad arguments while plugged in";
    // Too small, and the other layout's size (12 is what a 32-bit caller
    // passes, refused in a 64-bit Windows process).
    for (const uint32_t wrongSize : {8u, InitSize == 24 ? 12u : 24u}) {
        RapiInit record{wrongSize, {}, 0};
        CHECK(initEx(&record) < 0);
    }
    CHECK(initEx(nullptr) < 0);
    Buffer wide = freshRecord(276);
    CHECK_EQ(versionEx(wide.data()), 0);
    CHECK_EQ(versionEx(nullptr), 0);

    fs::remove_all(scratch);
    std::cout << (checkFailures() ? "FAILED" : "PASSED") << '\n';
    return checkFailures();
}
