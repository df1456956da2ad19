#pragma once

// A few assertions for the Qt-free demo tests: failures are counted and
// printed, and main() returns their count.

#include <iostream>
#include <string>

inline int &checkFailures()
{
    static int failures = 0;
    return failures;
}

// The case being run, printed with every failure.
inline std::string &checkContext()
{
    static std::string context;
    return context;
}

template <typename A, typename B>
bool checkEqual(const A &actual, const B &expected, const char *text, const char *file, int line)
{
    if (actual == expected)
        return true;
    ++checkFailures();
    std::cerr << file << ':' << line << ": [" << checkContext() << "] " << text << ": got " << actual
              << ", expected " << expected << '\n';
    return false;
}

#define CHECK(cond) checkEqual(bool(cond), true, #cond, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) checkEqual((actual), (expected), #actual, __FILE__, __LINE__)
