#include "cli/Cp1252.h"

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
        const std::string decoded = DecodeCp1252(std::string(1, static_cast<char>(byte)));
        const bool undefined =
            byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        EXPECT_EQ(decoded, undefined ? kReplacement : LibcDecode(static_cast<unsigned char>(byte)))
            << "byte " << byte;
    }
    EXPECT_EQ(DecodeCp1252(std::string("Caf\xE9\0\x80", 6)),
              std::string("Caf\xC3\xA9\0\xE2\x82\xAC", 9));
}

TEST(Cp1252Test, TerminalSafeLeavesOneHarmlessCharacterPerByte)
{
    EXPECT_EQ(TerminalSafe("\x1B[31mred"), kReplacement + "[31mred");
    EXPECT_EQ(TerminalSafe(std::string("a\tb\r\0\x7F", 6)),
              "a" + kReplacement + "b" + kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(TerminalSafe("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");

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

} // namespace
