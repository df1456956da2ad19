#include "inifile.h"

#include "failure.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace {

std::string trimmed(const std::string &s)
{
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(s.begin(), s.end(), isSpace);
    const auto last = std::find_if_not(s.rbegin(), s.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

IniFile IniFile::read(const std::filesystem::path &path)
{
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!in || !std::filesystem::is_regular_file(path, ec))
        throw Failure(IniUnreadable, "cannot read INI file " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

IniFile IniFile::parse(const std::string &text)
{
    IniFile ini;
    std::istringstream lines(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text);
    Section *current = nullptr;
    for (std::string raw; std::getline(lines, raw);) {
        const std::string line = trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            current = close == std::string::npos
                ? nullptr
                : &ini.m_sections[lowered(trimmed(line.substr(1, close - 1)))];
            continue;
        }
        // Lines outside a section, or without '=', carry nothing we use.
        const auto equals = line.find('=');
        if (current && equals != std::string::npos)
            current->try_emplace(lowered(trimmed(line.substr(0, equals))), trimmed(line.substr(equals + 1)));
    }
    return ini;
}

bool IniFile::hasSection(const std::string &section) const
{
    return m_sections.contains(lowered(section));
}

std::optional<std::string> IniFile::value(const std::string &section, const std::string &key) const
{
    const auto s = m_sections.find(lowered(section));
    if (s == m_sections.end())
        return std::nullopt;
    const auto k = s->second.find(lowered(key));
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}
