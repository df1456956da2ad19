#pragma once

#include "unattended/unattendedrun.h"

#include <optional>

class TickSource;

// What the program does with its command line before anything else: answers
// --help, --version and --show-licence, refuses arguments it does not know,
// enters the kit folder for the window, and, on systems that draw through
// X11 or Wayland, stops with a plain message when there is no display to open
// the window on. Returns the exit status when the program is to end here;
// otherwise nothing, with `unattended` set when the run is to go without a
// window, and `language` set to the window's language when one is named.
std::optional<int> handleCommandLine(int argc, char *argv[], std::optional<UnattendedOptions> *unattended,
                                     QString *language);

// Everything the program does before its window: names itself, takes back
// how its children end, reads the command line and makes an unattended run
// with the pauses of `ticks`. Returns the exit status when the program ends
// there; nothing when the window is to open, with `language` set to the
// window's language when the command line names one.
std::optional<int> runBeforeWindow(int &argc, char *argv[], TickSource &ticks, QString *language = nullptr);
