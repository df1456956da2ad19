#pragma once

// What the demo tests need from the system, one source per system.

#include <filesystem>
#include <string>
#include <vector>

// Loads a shared library by path and returns the address of one of its
// entry points, or nullptr (with a message on stderr).
void *loadEntryPoint(const char *library, const char *name);

// Sets an environment variable of this process; nullptr removes it.
void setVariable(const char *name, const char *value);

// A fresh empty folder under the system's temporary folder.
std::filesystem::path makeScratch(const char *prefix);

// Runs a program with these arguments and this process's environment, its
// output and errors into files, and returns its exit code (-1 when it did
// not exit normally or could not be started).
int runProgram(const std::string &program, const std::vector<std::string> &args,
               const std::filesystem::path &out, const std::filesystem::path &err);
