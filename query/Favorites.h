#pragma once

#include "net/HostText.h"
#include "query/ServerMap.h"

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// Lines longer than this are not read: no favorites file has them, and a file that does is
// not one.
inline constexpr std::size_t kMaxFavoriteLineBytes = 4096;

// A favorites file that cannot be read as lines of text; what() says why ("Is a directory",
// "line 3 is longer than 4096 bytes", ...).
class CFavoritesError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What loading a favorites file skipped.
struct FavoritesLoad
{
    static constexpr std::size_t kKeptLineNumbers = 5;

    std::size_t skipped = 0;               // lines that are not server addresses
    std::vector<std::size_t> skippedLines; // the first kKeptLineNumbers of them, from 1
};

// Replaces the map's content with one record per favorite (the favorite's name and
// password). The address is HOST, HOST:PORT or HOST[PORT] with a dotted address or a host
// name; each name is looked up once. Lines with anything else, or a name that is not found,
// are skipped and counted; blank lines are ignored. A later line with the same address
// replaces the earlier record. Throws CFavoritesError when the file cannot be read or has a
// line longer than kMaxFavoriteLineBytes; the map is then left as it was.
FavoritesLoad LoadFavoritesForScan(const std::filesystem::path& file, CServerMap& map,
                                   const HostResolver& resolve = ResolveHostName);
