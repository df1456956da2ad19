#pragma once

#include "installer.h"

#include <filesystem>

// The simulated handheld's directory from TORVEX_HANDHELD. Throws
// Failure(NoHandheld) when the variable is unset or the directory is missing.
std::filesystem::path handheldFromEnvironment();

// TORVEX_APPMGR_DELAY_MS sets the connect delay in milliseconds (each package
// takes a quarter of it); 0 makes a run instant. Unset or not a number: the
// default pacing.
Pacing pacingFromEnvironment();
