#include "cli/Cp1252.h"

#include <gtest/gtest.h>

#include <cerrno>
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
    if (result == static_cast<std::size_t>(-1)) {
        return {};
    }
    return std::string(out, outPtr);
}

bool IsUndefinedInCp1252(unsigned char byte)
{
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

TEST(Cp1252Test, EveryByteDecodesLikeTheCLibraryAndUndefinedOnesToReplacement)
{
    if (LibcDecode('A') != "A") {
        GTEST_SKIP() << "iconv has no CP1252";
    }
    for (int byte = 1; byte < 256; ++byte) {
        const std::string decoded = DecodeCp1252(std::string(1, static_cast<char>(byte)));
        if (IsUndefinedInCp1252(static_cast<unsigned char>(byte))) {
            EXPECT_EQ(decoded, kReplacement) << "byte " << byte;
        } else {
            EXPECT_EQ(decoded, LibcDecode(static_cast<unsigned char>(byte))) << "byte " << byte;
        }
    }
}

TEST(Cp1252Test, KnownCharactersAndWholeTexts)
{
    EXPECT_EQ(DecodeCp1252("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_EQ(DecodeCp1252("\x9F"), "\xC5\xB8");     // Y with diaeresis
    EXPECT_EQ(DecodeCp1252("\xA0"), "\xC2\xA0");     // no-break space
    EXPECT_EQ(DecodeCp1252("\xFF"), "\xC3\xBF");     // y with diaeresis
    EXPECT_EQ(DecodeCp1252("Caf\xE9 \x93x\x94"), "Caf\xC3\xA9 \xE2\x80\x9Cx\xE2\x80\x9D");
    EXPECT_EQ(DecodeCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(DecodeCp1252(""), "");
}

TEST(Cp1252Test, AllBytesGiveOneCharacterEach)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string safe = TerminalSafe(DecodeCp1252(all));
    EXPECT_EQ(DisplayWidth(safe), 256u);
    for (char c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_FALSE(byte < 0x20 || byte == 0x7F) << "control byte " << int(byte) << " left";
    }
}

TEST(Cp1252Test, TerminalSafeReplacesControlsOnly)
{
    EXPECT_EQ(TerminalSafe("\x1B[31mred"), kReplacement + "[31mred");
    EXPECT_EQ(TerminalSafe("a\tb\rc\nd\x7F"),
              "a" + kReplacement + "b" + kReplacement + "c" + kReplacement + "d" + kReplacement);
    EXPECT_EQ(TerminalSafe(std::string("x\0y", 3)), "x" + kReplacement + "y");
    // Multi-byte characters and plain text pass through.
    EXPECT_EQ(TerminalSafe("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
}

TEST(Cp1252Test, DisplayWidthCountsCharacters)
{
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("abc"), 3u);
    EXPECT_EQ(DisplayWidth(DecodeCp1252("\xE9\x80x")), 3u);
    EXPECT_EQ(DisplayWidth(kReplacement), 1u);
}

} // namespace
