#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's list of in-house libraries and their version strings. Every library
// registers itself during static initialisation with a CLibraryRegistrar placed in a
// translation unit that is always linked with it.
struct LibraryVersion
{
    std::string name;
    std::string version;
};

void RegisterLibrary(std::string_view name, std::string_view version);

// The libraries registered so far, in registration order.
const std::vector<LibraryVersion>& RegisteredLibraries();

// "<program> <version>" followed by one "  <library> <version>" line per library.
std::string VersionReport(std::string_view program, std::string_view version);

struct CLibraryRegistrar
{
    CLibraryRegistrar(std::string_view name, std::string_view version)
    {
        RegisterLibrary(name, version);
    }
};
