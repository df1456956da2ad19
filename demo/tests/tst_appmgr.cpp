// Runs the built torvex-appmgr as the wizard does: one full INI path as its
// only argument, the handheld named by TORVEX_HANDHELD.

#include "check.h"
#include "system.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Handheld { Present, Unset, Missing };

struct Result
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

Result run(const std::vector<std::string> &args, Handheld handheld, const fs::path &handheldDir,
           const fs::path &scratch)
{
    setVariable("TORVEX_APPMGR_DELAY_MS", "0");
    const std::string dir = handheldDir.string();
    setVariable("TORVEX_HANDHELD", handheld == Handheld::Unset ? nullptr : dir.c_str());

    const fs::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    Result result;
    result.exitCode = runProgram(APPMGR_PATH, args, out, err);
    result.out = contents(out);
    result.err = contents(err);
    return result;
}

const char *const ValidIni = "[CEAppManager]\nVersion = 1.0\nComponent = App\n[App]\nDescription = Sample\n"
                             "CabFiles = app.cab, more.cab\n";

struct Case
{
    const char *name;
    const char *ini; // nullptr: no INI file at the path given
    int argCount;
    Handheld handheld;
    int expected;
};

const Case Cases[] = {
    {"installs", ValidIni, 1, Handheld::Present, 0},
    {"desktop style: CRLF, comments, any letter case",
     "\xEF\xBB\xBF; sample\r\n[ceappmanager]\r\nversion=1.0\r\ncomponent=App\r\n\r\n[APP]\r\n"
     "CABFILES = app.cab ,more.cab,\r\n",
     1, Handheld::Present, 0},
    {"no argument", ValidIni, 0, Handheld::Present, 1},
    {"two arguments", ValidIni, 2, Handheld::Present, 1},
    {"handheld variable unset", ValidIni, 1, Handheld::Unset, 2},
    {"handheld directory missing", ValidIni, 1, Handheld::Missing, 2},
    {"no INI file", nullptr, 1, Handheld::Present, 3},
    {"no manager section", "[Other]\nComponent = App\n[App]\nCabFiles = app.cab\n", 1, Handheld::Present, 4},
    {"no component", "[CEAppManager]\nVersion = 1.0\n[App]\nCabFiles = app.cab\n", 1, Handheld::Present, 5},
    {"component escapes the handheld", "[CEAppManager]\nComponent = ../App\n[../App]\nCabFiles = app.cab\n", 1,
     Handheld::Present, 5},
    {"component section missing", "[CEAppManager]\nComponent = App\n[Other]\nCabFiles = app.cab\n", 1,
     Handheld::Present, 6},
    {"no cab files", "[CEAppManager]\nComponent = App\n[App]\nDescription = Sample\n", 1, Handheld::Present, 7},
    {"empty cab list", "[CEAppManager]\nComponent = App\n[App]\nCabFiles = , \n", 1, Handheld::Present, 7},
    {"package missing", "[CEAppManager]\nComponent = App\n[App]\nCabFiles = app.cab, gone.cab\n", 1,
     Handheld::Present, 8},
};

void runCase(const Case &c)
{
    checkContext() = c.name;
    const fs::path scratch = makeScratch("torvex-appmgr");
    const fs::path desktop = scratch / "desktop dir", handheld = scratch / "handheld";
    fs::create_directory(desktop);
    write(desktop / "app.cab", "app package");
    write(desktop / "more.cab", "more package");
    const fs::path ini = desktop / "sample.ini";
    if (c.ini)
        write(ini, c.ini);
    if (c.handheld == Handheld::Present)
        fs::create_directory(handheld);

    const std::vector<std::string> args(c.argCount, ini.string());
    const Result result = run(args, c.handheld, handheld, scratch);

    CHECK_EQ(result.exitCode, c.expected);
    const fs::path installed = handheld / "Program Files" / "App";
    if (c.expected == 0) {
        CHECK_EQ(contents(installed / "app.cab"), std::string("app package"));
        CHECK_EQ(contents(installed / "more.cab"), std::string("more package"));
        CHECK(!result.out.empty());
    } else {
        CHECK(!result.err.empty());
        CHECK(!fs::exists(handheld / "Program Files"));
    }
    fs::remove_all(scratch);
}

// The shipped sample INI files must each install on their own.
void runSample(const char *iniName)
{
    checkContext() = iniName;
    const fs::path scratch = makeScratch("torvex-appmgr");
    const fs::path handheld = scratch / "handheld";
    fs::create_directory(handheld);
    const Result result = run({std::string(SAMPLES_DIR "/") + iniName}, Handheld::Present, handheld, scratch);
    CHECK_EQ(result.exitCode, 0);
    CHECK(result.err.empty());
    CHECK(fs::exists(handheld / "Program Files") && !fs::is_empty(handheld / "Program Files"));
    fs::remove_all(scratch);
}

} // namespace

int main()
{
    for (const Case &c : Cases)
        runCase(c);
    for (const char *name : {"netcf.all.wce4.ARMV4.ini", "sqlce.wce4.armv4.ini", "sql.wce4.armv4.ini",
                             "OpenNETCF.SDF.PPC3.ARMV4.ini", "KestLanguages.ini", "TorvexSetup.ini",
                             "w300netcf.all.wce4.ARMV4.ini", "w300sqlce.wce4.armv4.ini", "w300sql.wce4.armv4.ini",
                             "w300OpenNETCF.SDF.PPC3.ARMV4.ini"})
        runSample(name);
    std::cout << (checkFailures() ? "FAILED" : "PASSED") << '\n';
    return checkFailures();
}
