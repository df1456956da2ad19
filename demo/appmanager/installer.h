#pragma once

#include <chrono>
#include <filesystem>
#include <iosfwd>

struct Component;

// How long the steps take, so a run looks like a transfer to the handheld.
struct Pacing
{
    std::chrono::milliseconds connect{1000};
    std::chrono::milliseconds perPackage{250};
};

// Copies the component's packages into <handheld>/Program Files/<name>/,
// printing one line per step. Throws Failure(NoHandheld) when the handheld
// directory disappears, Failure(CopyFailed) when a copy fails.
void install(const Component &component, const std::filesystem::path &handheld, const Pacing &pacing,
             std::ostream &out);
