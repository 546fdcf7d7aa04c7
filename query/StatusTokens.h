#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The tokenizer of status replies. `text` is the reply up to its first zero byte; a
// position at or past its end reads as the zero byte, so nothing past the view is read.

// Reads a token from pos and leaves pos on the byte that ended it: a line feed, a
// backslash outside quotes, or the end. Double quotes toggle quoting and are dropped; a
// caret and the byte after it (a colour code) are dropped.
std::string ReadToken(std::string_view text, std::size_t& pos);

// Skips spaces, reads an optional minus sign and decimal digits (32-bit, wrapping) and
// leaves pos after the last digit. No digits read as 0.
std::int32_t ReadInt(std::string_view text, std::size_t& pos);

// A-Z to a-z; other bytes stay as they are.
std::string AsciiLower(std::string_view text);
