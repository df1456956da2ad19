// torvex-appmgr: a sample desktop application manager. Given one INI file it
// copies the component's package files onto the simulated handheld.

#include "component.h"
#include "environment.h"
#include "failure.h"
#include "inifile.h"
#include "installer.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char **argv)
{
    try {
        if (argc != 2)
            throw Failure(WrongArguments, "usage: torvex-appmgr <full path of the INI file>");
        const std::filesystem::path iniPath = argv[1];
        std::cout << "Reading " << iniPath.string() << std::endl;
        const Component component = Component::fromIni(IniFile::read(iniPath), iniPath.parent_path());
        const std::filesystem::path handheld = handheldFromEnvironment();
        install(component, handheld, pacingFromEnvironment(), std::cout);
        return Installed;
    } catch (const Failure &failure) {
        std::cerr << "torvex-appmgr: " << failure.what() << std::endl;
        return failure.code();
    } catch (const std::exception &error) {
        std::cerr << "torvex-appmgr: " << error.what() << std::endl;
        return CopyFailed;
    }
}
