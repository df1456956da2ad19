// A program for the tests to start on Windows, standing in for the
// application manager. It appends its own path and the command line the
// system handed it (GetCommandLineW), in UTF-8 and separated by a tab, as one
// line to the file TORVEX_RECORD names, then ends as its last argument says:
//   exit=N             ExitProcess(N), N decimal, negative or 0x-hex
//   access-violation   writes through a null pointer
//   breakpoint         an unhandled breakpoint
//   raise=N            raises exception N and leaves it unhandled
//   work               writes its process id to the file "pid" in the
//                      current directory, works until a file "finish" is
//                      there, then writes "done" to the file "done" there
//                      and exits with 0
// With any other last argument (an INI path, say) it ends as the file "end"
// in the current directory says: "<run> <action>" ends run number <run>
// (counted in the file "runs") with <action>, unless a file "mended" is
// there; otherwise it exits with 0.
// It is linked statically, so that a copy runs from any folder.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <string>

namespace {

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void record()
{
    wchar_t path[32768];
    const DWORD length = GetEnvironmentVariableW(L"TORVEX_RECORD", path, 32768);
    if (length == 0 || length >= 32768)
        return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    wchar_t self[32768];
    const DWORD selfLength = GetModuleFileNameW(nullptr, self, 32768);
    const std::string line = utf8(selfLength < 32768 ? self : L"") + '\t' + utf8(GetCommandLineW()) + '\n';
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

bool exists(const wchar_t *name)
{
    return GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
}

// Ends as `action` says; returns when the action is not one of these.
void endWith(const std::wstring &action)
{
    const auto number = [&](size_t at) { return UINT(std::wcstoll(action.c_str() + at, nullptr, 0)); };
    if (action.rfind(L"exit=", 0) == 0)
        ExitProcess(number(5));
    if (action == L"access-violation")
        *static_cast<volatile int *>(nullptr) = 1;
    if (action == L"breakpoint")
        DebugBreak();
    if (action.rfind(L"raise=", 0) == 0)
        RaiseException(DWORD(number(6)), EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (action == L"work") {
        // Whole or not at all, for a reader waiting for it.
        std::ofstream(L"pid.tmp") << GetCurrentProcessId() << '\n';
        MoveFileExW(L"pid.tmp", L"pid", MOVEFILE_REPLACE_EXISTING);
        while (!exists(L"finish"))
            Sleep(50);
        std::ofstream(L"done") << "done\n";
        ExitProcess(0);
    }
}

} // namespace

int main()
{
    record();
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc > 1)
        endWith(argv[argc - 1]);

    std::wifstream plan(L"end");
    int failingRun = 0;
    std::wstring action;
    if (plan >> failingRun >> action) {
        int run = 0;
        std::ifstream(L"runs") >> run;
        std::ofstream(L"runs") << ++run << '\n';
        if (run == failingRun && !exists(L"mended"))
            endWith(action);
    }
    return 0;
}
