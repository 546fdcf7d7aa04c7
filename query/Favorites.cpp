#include "query/Favorites.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

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
    CFileDescriptor(CFileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
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

void CheckRegular(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        ThrowErrno(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw CFavoritesError("not a regular file");
}

// Opens a regular file for reading. The type is checked before the open, so that no device
// is ever opened, and again on the open file, which is opened without waiting: a FIFO put
// in its place between the two cannot block.
struct OpenedFile
{
    CFileDescriptor fd;
    std::uint64_t size;
};

OpenedFile OpenRegularFile(const std::filesystem::path& file)
{
    struct stat info
    {
    };
    if (stat(file.c_str(), &info) != 0)
        ThrowErrno(errno);
    CheckRegular(info);
    OpenedFile opened{
        CFileDescriptor(open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)), 0};
    if (opened.fd.Get() < 0)
        ThrowErrno(errno);
    if (fstat(opened.fd.Get(), &info) != 0)
        ThrowErrno(errno);
    CheckRegular(info);
    opened.size = static_cast<std::uint64_t>(info.st_size);
    return opened;
}

// Reads up to size bytes; 0 at the end of the file.
std::size_t ReadSome(int fd, char* data, std::size_t size)
{
    for (;;) {
        const ssize_t count = read(fd, data, size);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            ThrowErrno(errno);
    }
}

// Cuts text that arrives in pieces into lines at CR LF, LF and lone CR. A line longer than
// kMaxFavoriteLineBytes is counted but not kept.
class CLineSplitter
{
public:
    explicit CLineSplitter(const FavoriteLineHandler& onLine) : m_onLine(onLine) {}

    // False once the handler stopped the reading.
    bool Feed(std::string_view bytes)
    {
        while (!bytes.empty()) {
            if (m_afterCr) {
                m_afterCr = false;
                if (bytes.front() == '\n') {
                    bytes.remove_prefix(1);
                    continue;
                }
            }
            const std::size_t end = bytes.find_first_of("\r\n");
            Append(bytes.substr(0, end));
            if (end == std::string_view::npos)
                return true;
            m_afterCr = bytes[end] == '\r';
            bytes.remove_prefix(end + 1);
            if (!EndLine())
                return false;
        }
        return true;
    }

    // The last line, when it has no line end.
    bool Finish() { return m_length == 0 || EndLine(); }

private:
    void Append(std::string_view piece)
    {
        m_length += piece.size();
        if (m_length <= kMaxFavoriteLineBytes)
            m_line.append(piece);
        else
            m_line.clear();
    }

    bool EndLine()
    {
        const bool tooLong = m_length > kMaxFavoriteLineBytes;
        const bool go = m_onLine(m_number++, tooLong ? std::string_view() : m_line, tooLong);
        m_line.clear();
        m_length = 0;
        return go;
    }

    const FavoriteLineHandler& m_onLine;
    std::string m_line;
    std::size_t m_length = 0;
    std::size_t m_number = 1;
    bool m_afterCr = false;
};

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

bool ForEachFavoriteLine(std::string_view text, const FavoriteLineHandler& onLine)
{
    CLineSplitter splitter(onLine);
    return splitter.Feed(text) && splitter.Finish();
}

std::string ReadFavoritesFile(const std::filesystem::path& file, std::size_t maxBytes)
{
    const auto tooLarge = [&] {
        throw CFavoritesError("larger than " + std::to_string(maxBytes) + " bytes");
    };
    const OpenedFile opened = OpenRegularFile(file);
    if (opened.size > maxBytes)
        tooLarge();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(opened.size));
    std::array<char, 65536> block;
    // The file may grow while it is read: never past the limit.
    while (const std::size_t count = ReadSome(opened.fd.Get(), block.data(), block.size())) {
        if (count > maxBytes - bytes.size())
            tooLarge();
        bytes.append(block.data(), count);
    }
    return bytes;
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
        std::uint16_t port = kDefaultGamePort;
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
    const auto skip = [&](std::size_t number) {
        if (result.skippedLines.size() < FavoritesLoad::kKeptLineNumbers)
            result.skippedLines.push_back(number);
        ++result.skipped;
    };

    const FavoriteLineHandler onLine = [&](std::size_t number, std::string_view line,
                                           bool tooLong) {
        if (tooLong) {
            skip(number);
            return true;
        }
        FavoriteLine favorite = ParseFavoriteLine(line);
        if (favorite.address.empty() && favorite.name.empty() && favorite.password.empty())
            return true; // a blank line
        const auto address = addressOf(favorite.address);
        if (!address) {
            skip(number);
            return true;
        }
        if (loaded.size() >= kMaxFavorites && !loaded.contains(*address)) {
            result.capped = true;
            return false;
        }
        loaded.insert_or_assign(
            *address, CServer(*address, std::move(favorite.name), std::move(favorite.password)));
        return true;
    };

    const OpenedFile opened = OpenRegularFile(file);
    CLineSplitter splitter(onLine);
    std::array<char, 65536> block;
    for (;;) {
        const std::size_t count = ReadSome(opened.fd.Get(), block.data(), block.size());
        if (count == 0) {
            splitter.Finish();
            break;
        }
        if (!splitter.Feed(std::string_view(block.data(), count)))
            break;
    }
    map = std::move(loaded);
    return result;
}

std::vector<std::string> DescribeFavoritesLoad(const FavoritesLoad& load,
                                               const std::string& fileName)
{
    std::vector<std::string> sentences;
    if (load.skipped > 0) {
        std::string lines;
        for (const std::size_t line : load.skippedLines)
            lines += (lines.empty() ? "" : ", ") + std::to_string(line);
        if (load.skipped > load.skippedLines.size())
            lines += ", ...";
        sentences.push_back("The favorites file '" + fileName + "' has " +
                            std::to_string(load.skipped) +
                            (load.skipped == 1 ? " line that is" : " lines that are") +
                            " not a server address (line " + lines + "); skipped.");
    }
    if (load.capped) {
        sentences.push_back("The favorites file '" + fileName + "' has more than " +
                            std::to_string(kMaxFavorites) + " favorites; only the first " +
                            std::to_string(kMaxFavorites) + " are scanned.");
    }
    return sentences;
}
