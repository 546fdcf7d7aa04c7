#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text from game servers and favorites files is 8-bit Windows-1252. These helpers turn it
// into UTF-8 for output and keep it harmless on a terminal.

// Decodes Windows-1252 bytes to UTF-8. Bytes below 0x80 stay as they are, 0x80-0x9F follow
// the Windows-1252 table (the five bytes it leaves undefined become U+FFFD), 0xA0-0xFF are
// the Latin-1 code points of the same number.
std::string DecodeCp1252(std::string_view bytes);

// Replaces every C0 control character and DEL in UTF-8 text by U+FFFD, so that escape
// sequences, carriage returns, tabs and the like cannot move the cursor or change the look
// of a terminal. The rest of the text is copied unchanged.
std::string TerminalSafe(std::string_view utf8);

// The number of terminal columns that text decoded by DecodeCp1252 and made safe by
// TerminalSafe takes: one per code point, since every such code point is a single-width
// character.
std::size_t DisplayWidth(std::string_view utf8);
