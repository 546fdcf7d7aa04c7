#include "format/Cp1252.h"

#include "format/FormatLibrary.h"

#include <array>
#include <cstddef>

namespace {

[[maybe_unused]] const bool kCp1252Registered = (RegisterFormatLibrary(), true);

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80-0x9F; the undefined ones hold their own value.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

bool IsUndefined(char32_t cp)
{
    return cp >= 0x80 && cp < 0xA0;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    // Every code point of the code page lies in the Basic Multilingual Plane.
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

std::optional<unsigned char> ByteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes, Cp1252Undefined undefined)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            const char32_t cp = kHigh[byte - 0x80];
            AppendUtf8(out, IsUndefined(cp) && undefined == Cp1252Undefined::Replacement
                                ? kReplacement
                                : cp);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t length = 0;
        if (lead < 0x80) {
            cp = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            length = 3;
        } else {
            return std::nullopt; // four-byte sequences are outside the code page anyway
        }
        if (i + length > utf8.size())
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if ((length == 2 && cp < 0x80) || (length == 3 && cp < 0x800))
            return std::nullopt; // overlong form
        const auto byte = ByteOf(cp);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        i += length;
    }
    return out;
}
