#include "net/LibraryVersions.h"

#include "net/Version.h"

namespace {

std::vector<LibraryVersion>& Registry()
{
    // Function-local so that registrars of any translation unit may run first.
    static std::vector<LibraryVersion> libraries;
    return libraries;
}

// The two libraries of this folder: sockets, addresses and socket errors; and the small
// system library of events, timers, waits and the clock. They register here, in the
// translation unit that every reader of the list links, so that no linker can drop them.
const CLibraryRegistrar kSocketLibrary("Farsighter Sockets", FARSIGHTER_VERSION);
const CLibraryRegistrar kSystemLibrary("Farsighter System", FARSIGHTER_VERSION);

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
