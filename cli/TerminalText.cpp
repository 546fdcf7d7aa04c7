#include "cli/TerminalText.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

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
            AppendUtf8(out, kReplacement);
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
