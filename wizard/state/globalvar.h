#pragma once

#include <QString>

#include <cstdint>

// Truth values as the wizard stores them. Prefixed, because X11's headers
// define True and False as macros.
constexpr int16_t VbTrue = -1;
constexpr int16_t VbFalse = 0;

// The little state the wizard's handlers share. The program owns one record,
// zeroed at start, and hands it to the window; the handlers read and write it
// directly.
struct GlobalVar
{
    int16_t PageState = 0;        // 1 welcome, 2 licence, 3 platform, 4 ready/installing
    int16_t ExitConfirmed = VbFalse; // VbTrue once the window may close without asking
    QString CancelQuestion;
    QString SuccessMessage;
    QString SavedLicenseText;     // what the licence box must always hold
};
