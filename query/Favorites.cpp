#include "query/Favorites.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>

namespace {

// Closes the descriptor it holds.
class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

[[noreturn]] void ThrowErrno(int error)
{
    throw CFavoritesError(std::strerror(error));
}

// Calls onLine with every line of the file (without its line feed), reading in blocks so
// that neither a long line nor an endless file is held in memory.
template <typename OnLine>
void ReadLines(const std::filesystem::path& file, OnLine onLine)
{
    const CFileDescriptor fd(open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        ThrowErrno(errno);
    struct stat info
    {
    };
    if (fstat(fd.Get(), &info) != 0)
        ThrowErrno(errno);
    if (S_ISDIR(info.st_mode))
        ThrowErrno(EISDIR);

    std::array<char, 65536> block;
    std::string line;
    std::size_t number = 1;
    for (;;) {
        const ssize_t count = read(fd.Get(), block.data(), block.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            ThrowErrno(errno);
        if (count == 0)
            break;
        std::string_view rest(block.data(), static_cast<std::size_t>(count));
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            line.append(rest.substr(0, end));
            if (line.size() > kMaxFavoriteLineBytes) {
                throw CFavoritesError("line " + std::to_string(number) + " is longer than " +
                                      std::to_string(kMaxFavoriteLineBytes) + " bytes");
            }
            if (end == std::string_view::npos)
                break;
            onLine(number++, line);
            line.clear();
            rest.remove_prefix(end + 1);
        }
    }
    if (!line.empty())
        onLine(number, line);
}

} // namespace

FavoriteLine ParseFavoriteLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    FavoriteLine favorite;
    std::string* fields[] = {&favorite.address, &favorite.name, &favorite.password};
    for (std::string* field : fields) {
        const auto tab = line.find('\t');
        field->assign(line.substr(0, tab));
        if (tab == std::string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    return favorite;
}

FavoritesLoad LoadFavoritesForScan(const std::filesystem::path& file, CServerMap& map,
                                   const HostResolver& resolve)
{
    CServerMap loaded;
    FavoritesLoad result;
    std::map<std::string, std::optional<std::uint32_t>, std::less<>> looked;
    // The address of a favorite's address text, or nothing when it is not one.
    auto addressOf = [&](std::string_view text) -> std::optional<CSockAddr> {
        const auto parts = SplitHostPort(text);
        if (!parts)
            return std::nullopt;
        std::uint16_t port = 0;
        if (parts->port) {
            const auto given = ParsePortText(*parts->port);
            if (!given)
                return std::nullopt;
            port = *given;
        }
        std::optional<std::uint32_t> address = ParseDottedQuad(parts->host);
        if (!address && IsHostName(parts->host)) {
            auto found = looked.find(parts->host);
            if (found == looked.end()) {
                const std::string name(parts->host);
                found = looked.emplace(name, resolve(name)).first;
            }
            address = found->second;
        }
        if (!address)
            return std::nullopt;
        return CSockAddr(*address, port);
    };

    ReadLines(file, [&](std::size_t number, std::string_view line) {
        FavoriteLine favorite = ParseFavoriteLine(line);
        if (favorite.address.empty() && favorite.name.empty() && favorite.password.empty())
            return; // a blank line
        const auto address = addressOf(favorite.address);
        if (!address) {
            if (result.skippedLines.size() < FavoritesLoad::kKeptLineNumbers)
                result.skippedLines.push_back(number);
            ++result.skipped;
            return;
        }
        loaded.insert_or_assign(
            *address, CServer(*address, std::move(favorite.name), std::move(favorite.password)));
    });
    map = std::move(loaded);
    return result;
}
