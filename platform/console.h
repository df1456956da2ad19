#pragma once

// Lets a program built for the window system print where it was started
// from. On Windows, such a program has no console of its own: it attaches to
// the console of the command prompt that started it, if there is one, and
// sends to it the standard streams that were not redirected elsewhere.
// Elsewhere the streams already go there and nothing is done.
void attachParentConsole();

// Keeps standard output for the program's own lines: programs it starts
// from now on write theirs to standard error instead, so that what the
// program prints (JSON Lines, say) reaches its reader whole. Returns the file
// descriptor that now stands for the program's standard output.
int reserveStandardOutput();
