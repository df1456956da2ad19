#include "component.h"

#include "failure.h"
#include "inifile.h"

#include <sstream>

namespace {

const std::string ManagerSection = "CEAppManager";

std::string trimmed(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The component name becomes a folder on the handheld, so it must not
// reach outside it.
bool isPlainName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::vector<std::string> splitList(const std::string &list)
{
    std::vector<std::string> items;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');) {
        item = trimmed(item);
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

} // namespace

Component Component::fromIni(const IniFile &ini, const std::filesystem::path &iniDirectory)
{
    if (!ini.hasSection(ManagerSection))
        throw Failure(NoManagerSection, "the INI file has no [" + ManagerSection + "] section");

    Component component;
    component.name = ini.value(ManagerSection, "Component").value_or("");
    if (component.name.empty())
        throw Failure(NoComponent, "[" + ManagerSection + "] names no Component");
    if (!isPlainName(component.name))
        throw Failure(NoComponent, "component name \"" + component.name + "\" is not a plain name");

    if (!ini.hasSection(component.name))
        throw Failure(NoComponentSection, "the INI file has no [" + component.name + "] section");
    component.description = ini.value(component.name, "Description").value_or(component.name);

    const auto cabFiles = splitList(ini.value(component.name, "CabFiles").value_or(""));
    if (cabFiles.empty())
        throw Failure(NoCabFiles, "[" + component.name + "] lists no CabFiles");
    for (const auto &cab : cabFiles) {
        const auto path = iniDirectory / cab;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec))
            throw Failure(PackageMissing, "package file " + path.string() + " is missing");
        component.packages.push_back(path);
    }
    return component;
}
