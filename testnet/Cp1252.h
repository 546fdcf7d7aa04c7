#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace testnet {

// Game servers send 8-bit text in the Windows-1252 code page. The manifest is JSON
// and must be UTF-8, so byte strings are decoded one byte to one code point: the
// Windows-1252 characters for 0x80-0x9F and U+0080-U+00FF for the rest, with the five
// unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) mapped to the C1 controls of the same
// value. The mapping is a bijection, so every byte string survives the round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// The reverse of Cp1252ToUtf8; nothing for text that holds a character outside the
// code page or is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

} // namespace testnet
