#pragma once

#include <filesystem>
#include <string>
#include <vector>

class IniFile;

// What one INI file asks to install: a named component and its package files.
struct Component
{
    std::string name;
    std::string description;
    // Full paths; every one existed when the INI was read.
    std::vector<std::filesystem::path> packages;

    // Reads [CEAppManager] Component = <name> and the section [<name>] with its
    // Description and CabFiles (comma-separated, relative to iniDirectory).
    // Throws Failure naming the first thing missing.
    static Component fromIni(const IniFile &ini, const std::filesystem::path &iniDirectory);
};
