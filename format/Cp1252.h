#pragma once

#include <optional>
#include <string>
#include <string_view>

// Game servers, the favorites file and the files that the program writes use 8-bit text in
// the Windows-1252 code page; what is shown or exchanged with other programs is UTF-8.

// What the five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become when decoded.
enum class Cp1252Undefined
{
    Replacement, // U+FFFD, for text shown to people
    C1Control,   // the C1 control of the same value, so that every byte round-trips
};

// Decodes Windows-1252 bytes to UTF-8: bytes below 0x80 stay as they are, 0x80-0x9F follow
// the Windows-1252 table, 0xA0-0xFF are the Latin-1 code points of the same number. Zero
// bytes are copied like any other.
std::string Cp1252ToUtf8(std::string_view bytes,
                         Cp1252Undefined undefined = Cp1252Undefined::Replacement);

// The reverse: nothing for text that is not valid UTF-8 or holds a character outside the
// code page. The C1 controls of the undefined bytes encode back to those bytes.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
