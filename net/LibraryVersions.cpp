#include "net/LibraryVersions.h"

namespace {

std::vector<LibraryVersion>& Registry()
{
    // Function-local so that registrars of any translation unit may run first.
    static std::vector<LibraryVersion> libraries;
    return libraries;
}

} // namespace

void RegisterLibrary(std::string_view name, std::string_view version)
{
    Registry().push_back({std::string(name), std::string(version)});
}

const std::vector<LibraryVersion>& RegisteredLibraries()
{
    return Registry();
}

std::string VersionReport(std::string_view program, std::string_view version)
{
    std::string report;
    report.append(program).append(" ").append(version).append("\n");
    for (const auto& lib : Registry())
        report.append("  ").append(lib.name).append(" ").append(lib.version).append("\n");
    return report;
}
