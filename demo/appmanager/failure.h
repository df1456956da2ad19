#pragma once

#include <stdexcept>
#include <string>

// Exit codes of torvex-appmgr, one for each way a run can fail:
//   0  installed
//   1  wrong argument count (exactly one INI path is expected)
//   2  no handheld: TORVEX_HANDHELD unset, or its directory missing (also
//      when it disappears during the copy)
//   3  the INI file cannot be read
//   4  the INI file has no [CEAppManager] section
//   5  [CEAppManager] names no Component, or a name that is not a plain name
//   6  the component's own section is missing
//   7  the component lists no CabFiles
//   8  a listed package file is missing
//   9  copying to the handheld failed, or another unexpected error
enum ExitCode : int {
    Installed = 0,
    WrongArguments = 1,
    NoHandheld = 2,
    IniUnreadable = 3,
    NoManagerSection = 4,
    NoComponent = 5,
    NoComponentSection = 6,
    NoCabFiles = 7,
    PackageMissing = 8,
    CopyFailed = 9,
};

// A failure with the message for stderr and the code to exit with.
class Failure : public std::runtime_error
{
public:
    Failure(ExitCode code, const std::string &message) : std::runtime_error(message), m_code(code) {}

    ExitCode code() const { return m_code; }

private:
    ExitCode m_code;
};
