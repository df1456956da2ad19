// Runs the built torvex-appmgr as the wizard does: one full INI path as its
// only argument, the handheld named by TORVEX_HANDHELD.

#include "check.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

extern char **environ;

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
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "TORVEX_", 7) != 0)
            env.emplace_back(*e);
    }
    env.emplace_back("TORVEX_APPMGR_DELAY_MS=0");
    if (handheld != Handheld::Unset)
        env.push_back("TORVEX_HANDHELD=" + handheldDir.string());

    std::vector<std::string> argStore{APPMGR_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char *> argv, envp;
    for (auto &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const fs::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    Result result;
    if (posix_spawn(&pid, APPMGR_PATH, &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = contents(out);
    result.err = contents(err);
    return result;
}

fs::path makeScratch()
{
    char pattern[] = "/tmp/torvex-appmgr-XXXXXX";
    return mkdtemp(pattern);
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
    const fs::path scratch = makeScratch();
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
    const fs::path scratch = makeScratch();
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
