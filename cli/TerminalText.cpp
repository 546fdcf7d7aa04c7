#include "cli/TerminalText.h"

namespace {

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// U+2026 HORIZONTAL ELLIPSIS in UTF-8.
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

bool StartsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

std::string TerminalSafe(std::string_view utf8, bool keepLayout)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        if (keepLayout && (c == '\t' || c == '\n' || c == '\r')) {
            out += c;
        } else if (IsControl(static_cast<unsigned char>(c))) {
            out += kReplacement;
        } else {
            out += c;
        }
    }
    return out;
}

std::size_t DisplayWidth(std::string_view utf8)
{
    std::size_t width = 0;
    for (char c : utf8) {
        // Count every byte that is not a continuation byte (10xxxxxx).
        if (StartsCharacter(c)) {
            ++width;
        }
    }
    return width;
}

std::string CutToWidth(std::string_view utf8, std::size_t width)
{
    if (width == 0) {
        return {};
    }
    // Find where character number `width` starts; the text fits when there is none.
    std::size_t characters = 0;
    std::size_t keep = 0; // bytes of the first width - 1 characters
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!StartsCharacter(utf8[i])) {
            continue;
        }
        if (characters == width - 1) {
            keep = i;
        }
        if (characters == width) {
            return std::string(utf8.substr(0, keep)) + std::string(kEllipsis);
        }
        ++characters;
    }
    return std::string(utf8);
}
