// Stands in for the application manager: appends one line per run to the
// file named by TORVEX_RECORD: the argument count, the arguments and the
// working directory, separated by '|'.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

int main(int argc, char *argv[])
{
    const char *record = std::getenv("TORVEX_RECORD");
    if (!record)
        return 2;
    std::ofstream out(record, std::ios::app);
    out << argc - 1;
    for (int i = 1; i < argc; ++i)
        out << '|' << argv[i];
    out << '|' << std::filesystem::current_path().string() << '\n';
    return 0;
}
