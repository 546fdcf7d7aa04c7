#include "cli/TerminalText.h"

namespace {

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

std::string TerminalSafe(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        if (IsControl(static_cast<unsigned char>(c))) {
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
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++width;
        }
    }
    return width;
}
