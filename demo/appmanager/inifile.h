#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

// An INI file in the desktop style: [Section] headers and Key = Value lines;
// ';' and '#' start comment lines. Section and key names ignore letter case;
// when a key repeats in a section the first value counts.
class IniFile
{
public:
    // Throws Failure(IniUnreadable) when the file cannot be read.
    static IniFile read(const std::filesystem::path &path);
    static IniFile parse(const std::string &text);

    bool hasSection(const std::string &section) const;
    std::optional<std::string> value(const std::string &section, const std::string &key) const;

private:
    using Section = std::map<std::string, std::string>;
    std::map<std::string, Section> m_sections;
};
