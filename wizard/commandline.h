#pragma once

#include <optional>

// What the program does with its command line before it opens a window:
// answers --help and --version, refuses arguments it does not know, and, on
// systems that draw through X11 or Wayland, stops with a plain message when
// there is no display to open the window on. Returns the exit status when the
// program is to end here, nothing when the window is to open.
std::optional<int> handleCommandLine(int argc, char *argv[]);
