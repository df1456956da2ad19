#pragma once

#include <QString>

// The parts of the command line that differ between systems
// (commandlinesystem_unix.cpp, commandlinesystem_win.cpp).

// The usage text's part on the environment and the setup kit.
QString environmentHelp();

// Whether a display to open the window on is named at all; always so where
// the window system needs none named.
bool hasDisplay();
