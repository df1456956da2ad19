#pragma once

// Whether this Windows program runs under Wine: for the few rows that Wine
// itself fails, which are skipped there with the reason.
#ifdef _WIN32
#include <windows.h>

inline bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
#else
inline bool underWine()
{
    return false;
}
#endif
