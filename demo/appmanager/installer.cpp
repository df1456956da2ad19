#include "installer.h"

#include "component.h"
#include "failure.h"

#include <ostream>
#include <thread>

namespace {

void requireConnected(const std::filesystem::path &handheld)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(handheld, ec))
        throw Failure(NoHandheld, "the handheld at " + handheld.string() + " was disconnected");
}

} // namespace

void install(const Component &component, const std::filesystem::path &handheld, const Pacing &pacing,
             std::ostream &out)
{
    out << "Connecting to the handheld at " << handheld.string() << std::endl;
    std::this_thread::sleep_for(pacing.connect);

    const auto target = handheld / "Program Files" / component.name;
    out << "Installing \"" << component.description << "\" into " << target.string() << std::endl;
    for (const auto &package : component.packages) {
        out << "Copying " << package.filename().string() << std::endl;
        std::this_thread::sleep_for(pacing.perPackage);
        // Checked before each copy: creating the folders would otherwise plug
        // an unplugged handheld back in.
        requireConnected(handheld);
        std::error_code ec;
        std::filesystem::create_directories(target, ec);
        if (!ec)
            std::filesystem::copy_file(package, target / package.filename(),
                                       std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            throw Failure(CopyFailed, "cannot copy " + package.string() + ": " + ec.message());
    }
    out << component.name << ": " << component.packages.size() << " package file(s) installed" << std::endl;
}
