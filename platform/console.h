#pragma once

// Lets a program built for the window system print where it was started
// from. On Windows, such a program has no console of its own: it attaches to
// the console of the command prompt that started it, if there is one, and
// sends to it the standard streams that were not redirected elsewhere.
// Elsewhere the streams already go there and nothing is done.
void attachParentConsole();
