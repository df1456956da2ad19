#pragma once

#include <QString>

class TickSource;
struct UnattendedOptions;

// --passive: the unattended run, shown in the wizard's window on its
// installing page in `language` (empty for the system's), which asks
// nothing and closes by itself. Returns the exit status.
int runPassive(int &argc, char **argv, const UnattendedOptions &options, const QString &language, TickSource &ticks);
