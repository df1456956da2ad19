#include "environment.h"

#include "failure.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

std::filesystem::path handheldFromEnvironment()
{
    const char *dir = std::getenv("TORVEX_HANDHELD");
    if (!dir || !*dir)
        throw Failure(NoHandheld, "no handheld connected (TORVEX_HANDHELD is not set)");
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
        throw Failure(NoHandheld, std::string("no handheld connected (") + dir + " does not exist)");
    return dir;
}

Pacing pacingFromEnvironment()
{
    Pacing pacing;
    const char *text = std::getenv("TORVEX_APPMGR_DELAY_MS");
    if (!text)
        return pacing;
    const char *end = text + std::strlen(text);
    unsigned int ms = 0;
    const auto [stop, error] = std::from_chars(text, end, ms);
    if (error != std::errc() || stop != end || stop == text)
        return pacing;
    pacing.connect = std::chrono::milliseconds(ms);
    pacing.perPackage = std::chrono::milliseconds(ms / 4);
    return pacing;
}
