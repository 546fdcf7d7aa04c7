#pragma once

#include "query/ServerMap.h"

#include <filesystem>
#include <string>
#include <string_view>

// One line of the favorites file: address TAB name TAB password. Missing fields are empty,
// text after a third tab is ignored.
struct FavoriteLine
{
    std::string address;
    std::string name;
    std::string password;
};

// Splits one line (its line end, LF or CR LF, already removed or not).
FavoriteLine ParseFavoriteLine(std::string_view line);

// Replaces the map's content with one record per line of the file (the address parsed with
// host lookups, the favorite's name and password). A later line with the same address
// replaces the earlier record. A file that cannot be opened leaves the map empty.
void LoadFavoritesForScan(const std::filesystem::path& file, CServerMap& map);
