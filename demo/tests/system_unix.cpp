#include "system.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <iostream>

extern char **environ;

void *loadEntryPoint(const char *library, const char *name)
{
    void *handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::cerr << "cannot load " << library << ": " << dlerror() << '\n';
        return nullptr;
    }
    return dlsym(handle, name);
}

void setVariable(const char *name, const char *value)
{
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

std::filesystem::path makeScratch(const char *prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "-XXXXXX";
    return mkdtemp(pattern.data());
}

int runProgram(const std::string &program, const std::vector<std::string> &args,
               const std::filesystem::path &out, const std::filesystem::path &err)
{
    std::vector<std::string> store{program};
    store.insert(store.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (auto &a : store)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int code = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return code;
}
