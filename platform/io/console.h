#pragma once

// Opens the null device on each of the standard descriptors 0 to 2 that the
// program was started with closed, before anything else can take their
// numbers (and have its own lines sent there as standard output). Output
// descriptors get it open for reading only, so that a closed standard output
// still cannot be written. Nothing to do on Windows, where the standard
// streams are handles, not numbers.
void fillClosedStandardDescriptors();

// A reader that has gone away (a log piped into head, a closed SSH session)
// makes a write fail instead of ending the program in the middle of an
// install; started programs get the default back. Called once, at start-up:
// the only place SIGPIPE is set. Nothing to do on Windows.
void ignoreBrokenPipes();

// Lets a program built for the window system print where it was started
// from. On Windows, such a program has no console of its own: it attaches to
// the console of the command prompt that started it, if there is one, and
// sends to it the standard streams that were not redirected elsewhere.
// Elsewhere the streams already go there and nothing is done.
void attachParentConsole();

// Lets go of the console attachParentConsole() attached, so that closing
// that prompt does not end a window that has nothing more to print there.
void detachConsole();
