#include "cli/TerminalText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TerminalTextTest, TerminalSafeLeavesOneHarmlessCharacterPerByte)
{
    EXPECT_EQ(TerminalSafe("\x1B[31mred"), kReplacement + "[31mred");
    EXPECT_EQ(TerminalSafe(std::string("a\tb\r\0\x7F", 6)),
              "a" + kReplacement + "b" + kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(TerminalSafe("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");

    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string safe = TerminalSafe(Cp1252ToUtf8(all));
    EXPECT_EQ(DisplayWidth(safe), 256u);
    for (char c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_FALSE(byte < 0x20 || byte == 0x7F) << "control byte " << int(byte) << " left";
    }
}

} // namespace
