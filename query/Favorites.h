#pragma once

#include "net/HostText.h"
#include "query/MasterQuery.h"
#include "query/ServerMap.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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

// The longest line that is a favorite; every reader of the file keeps to it.
inline constexpr std::size_t kMaxFavoriteLineBytes = 64 * 1024;

// The most favorites that are read from one file, as many as one master query keeps.
inline constexpr std::size_t kMaxFavorites = kMaxListedServers;

// The port of an address written without one: the game's own default.
inline constexpr std::uint16_t kDefaultGamePort = 27960;

// A favorites file that cannot be read; what() says why ("Is a directory", "not a regular
// file", ...).
class CFavoritesError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Called with each line (from 1, without its line end); tooLong when the line has more than
// kMaxFavoriteLineBytes bytes, and then the text is empty. Returns false to stop reading.
using FavoriteLineHandler =
    std::function<bool(std::size_t number, std::string_view line, bool tooLong)>;

// Calls onLine for every line of text. A line ends at CR LF, LF or a lone CR; a last line
// without an end counts too. False when onLine stopped the reading.
bool ForEachFavoriteLine(std::string_view text, const FavoriteLineHandler& onLine);

// The bytes of a favorites file. Only a regular file is read; it is opened without waiting,
// so that a FIFO or a device named like the file can never block the caller. Throws
// CFavoritesError when the file cannot be read, is not a regular file, or has more than
// maxBytes bytes.
std::string ReadFavoritesFile(const std::filesystem::path& file, std::size_t maxBytes);

// What loading a favorites file for a scan skipped.
struct FavoritesLoad
{
    static constexpr std::size_t kKeptLineNumbers = 10;

    std::size_t skipped = 0;               // lines that are not server addresses
    std::vector<std::size_t> skippedLines; // the first kKeptLineNumbers of them, from 1
    bool capped = false;                   // the file has more than kMaxFavorites favorites
};

// Replaces the map's content with one record per favorite (the favorite's name and
// password). The address is HOST, HOST:PORT or HOST[PORT] with a dotted address or a host
// name, kDefaultGamePort when no port is written; each name is looked up once. Lines with
// anything else, longer than kMaxFavoriteLineBytes, or with a name that is not found, are
// skipped and counted; blank lines are ignored. A later line with the same address replaces
// the earlier record. Reading stops at the first favorite beyond kMaxFavorites records.
// The file is read as ReadFavoritesFile reads it, but in blocks, at any size. Throws
// CFavoritesError when the file cannot be read; the map is then left as it was.
FavoritesLoad LoadFavoritesForScan(const std::filesystem::path& file, CServerMap& map,
                                   const HostResolver& resolve = ResolveHostName);

// What the user is told about a load: one sentence for the skipped lines and one for the
// cap, when they apply; nothing when the whole file was taken. fileName is shown as given.
std::vector<std::string> DescribeFavoritesLoad(const FavoritesLoad& load,
                                               const std::string& fileName);
