#include "system.h"

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <random>

void *loadEntryPoint(const char *library, const char *name)
{
    HMODULE handle = LoadLibraryA(library);
    if (!handle) {
        std::cerr << "cannot load " << library << ": error " << GetLastError() << '\n';
        return nullptr;
    }
    return reinterpret_cast<void *>(GetProcAddress(handle, name));
}

void setVariable(const char *name, const char *value)
{
    // An empty value removes the variable here; both count as no handheld.
    _putenv_s(name, value ? value : "");
}

std::filesystem::path makeScratch(const char *prefix)
{
    std::random_device random;
    for (;;) {
        const auto path = std::filesystem::temp_directory_path() / (prefix + ('-' + std::to_string(random())));
        if (std::filesystem::create_directory(path))
            return path;
    }
}

namespace {

HANDLE openForChild(const std::filesystem::path &path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Quoted as the C runtime's argument parser reads it back.
std::wstring quoted(const std::wstring &arg)
{
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(2 * backslashes, L'\\');
    return result + L'"';
}

} // namespace

int runProgram(const std::string &program, const std::vector<std::string> &args,
               const std::filesystem::path &out, const std::filesystem::path &err)
{
    std::wstring commandLine = quoted(std::filesystem::path(program).wstring());
    for (const auto &arg : args)
        commandLine += L' ' + quoted(std::filesystem::path(arg).wstring());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = openForChild(out);
    startup.hStdError = openForChild(err);
    PROCESS_INFORMATION process{};
    int code = -1;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        if (GetExitCodeProcess(process.hProcess, &exitCode))
            code = static_cast<int>(exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    return code;
}
