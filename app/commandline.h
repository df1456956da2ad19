#pragma once

#include "unattended/unattendedrun.h"

#include <optional>

class TickSource;

// What the window is opened with, from the command line.
struct WindowOptions
{
    QString language;      // --language; empty for the system's
    QString logPath;       // --log, as a full path (the kit folder is entered first); empty for none
    QStringList arguments; // the command line as given, for the log
    bool systemLog = true; // the install's start and result in the system's log; off with --no-system-log
};

// What the program does with its command line before anything else: answers
// --help, --version and --show-licence, refuses arguments it does not know,
// enters the kit folder for the window, and, on systems that draw through
// X11 or Wayland, stops with a plain message when there is no display to open
// the window on (for --passive too). Returns the exit status when the program is to end here;
// otherwise nothing, with `unattended` set when the run is to go without a
// window, and `window` filled in otherwise.
std::optional<int> handleCommandLine(int argc, char *argv[], std::optional<UnattendedOptions> *unattended,
                                     WindowOptions *window);

// Everything the program does before its window: names itself, takes back
// how its children end, reads the command line and makes an unattended run
// with the pauses of `ticks` (one Setup at a time, but --check runs nothing
// and needs no lock). Returns the exit status when the program ends there;
// nothing when the window is to open, with `window` filled in.
std::optional<int> runBeforeWindow(int &argc, char *argv[], TickSource &ticks, WindowOptions *window = nullptr);
