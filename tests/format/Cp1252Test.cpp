#include "format/Cp1252.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <string>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

// The C library's own Windows-1252 converter, for comparison; empty when it rejects the
// byte.
std::string LibcDecode(unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return "?unavailable";
    }
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return result == static_cast<std::size_t>(-1) ? std::string() : std::string(out, outPtr);
}

TEST(Cp1252Test, EveryByteDecodesLikeTheCLibraryAndUndefinedOnesToReplacement)
{
    if (LibcDecode('A') != "A") {
        GTEST_SKIP() << "iconv has no CP1252";
    }
    for (int byte = 1; byte < 256; ++byte) {
        const std::string decoded = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
        const bool undefined =
            byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        EXPECT_EQ(decoded, undefined ? kReplacement : LibcDecode(static_cast<unsigned char>(byte)))
            << "byte " << byte;
    }
    EXPECT_EQ(Cp1252ToUtf8(std::string("Caf\xE9\0\x80", 6)),
              std::string("Caf\xC3\xA9\0\xE2\x82\xAC", 9));
}

TEST(Cp1252Test, UndefinedBytesRoundTripAsC1ControlsAndOtherTextIsRefused)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all, Cp1252Undefined::C1Control);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Cp1252ToUtf8("\x81\x9D", Cp1252Undefined::C1Control), "\u0081\u009D");
    // With replacement characters the undefined bytes are gone for good.
    EXPECT_FALSE(Utf8ToCp1252(Cp1252ToUtf8("\x81")));
    // Text outside the code page is refused.
    EXPECT_EQ(Utf8ToCp1252("J\u00e4ger \u20ac\u2122"), "J\xe4ger \x80\x99");
    EXPECT_FALSE(Utf8ToCp1252("\u0416"));           // Cyrillic Zhe
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80")); // emoji
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));             // cut off
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xB1"));         // overlong '1'
    EXPECT_FALSE(Utf8ToCp1252("\xE4ger"));          // Latin-1, not UTF-8
}

} // namespace
