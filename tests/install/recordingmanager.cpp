// Stands in for the application manager: appends one line per run to the
// file named by TORVEX_RECORD: the argument count, the arguments and the
// working directory, separated by '|'. TORVEX_RECORD_AFTER names a file
// that it waits for (a minute at most) before it writes: it works until the
// test lets it go.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int argc, char *argv[])
{
    const char *record = std::getenv("TORVEX_RECORD");
    if (!record)
        return 2;
    if (const char *after = std::getenv("TORVEX_RECORD_AFTER")) {
        std::error_code error;
        for (int i = 0; i < 1200 && !std::filesystem::exists(after, error); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::ofstream out(record, std::ios::app);
    out << argc - 1;
    for (int i = 1; i < argc; ++i)
        out << '|' << argv[i];
    out << '|' << std::filesystem::current_path().string() << '\n';
    return 0;
}
