#pragma once

#include <QtGlobal>

#include <ctime>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

// The CPU time this process has used, in milliseconds: unlike the wall
// clock, it does not grow with the load of other programs on the machine.
// The Windows C library's clock() counts wall time instead.
inline double cpuMs()
{
#ifdef Q_OS_WIN
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME t) { return double((quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
#else
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
#endif
}
