#include "cli/Cp1252.h"

#include <array>
#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80-0x9F; 0 marks the bytes that Windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98-9F
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every code point produced here lies in the Basic Multilingual Plane.
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

std::string DecodeCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            const char32_t cp = kHighControls[byte - 0x80];
            AppendUtf8(out, cp != 0 ? cp : kReplacement);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

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
