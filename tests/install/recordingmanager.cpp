// Stands in for the application manager: appends one line per run to the
// file named by TORVEX_RECORD: the argument count, the arguments and the
// working directory, separated by '|'. TORVEX_RECORD_DELAY_MS makes it work
// that long before it writes.
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
    if (const char *delay = std::getenv("TORVEX_RECORD_DELAY_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    std::ofstream out(record, std::ios::app);
    out << argc - 1;
    for (int i = 1; i < argc; ++i)
        out << '|' << argv[i];
    out << '|' << std::filesystem::current_path().string() << '\n';
    return 0;
}
