#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "format/Cp1252.h"

// Text from game servers, decoded to UTF-8 with Cp1252ToUtf8, is kept harmless on a
// terminal and measured in terminal columns.

// Replaces every C0 control character and DEL in UTF-8 text by U+FFFD, so that escape
// sequences, carriage returns, tabs and the like cannot move the cursor or change the look
// of a terminal. The rest of the text is copied unchanged.
// With keepLayout, tabs, line feeds and carriage returns are kept (for CSV, which quotes
// them).
std::string TerminalSafe(std::string_view utf8, bool keepLayout = false);

// The text cut to at most `width` terminal columns (as DisplayWidth counts them); a text
// that is cut ends with an ellipsis within the width. Never cuts inside a character.
std::string CutToWidth(std::string_view utf8, std::size_t width);

// The number of terminal columns that text decoded by Cp1252ToUtf8 and made safe by
// TerminalSafe takes: one per code point, since every such code point is a single-width
// character.
std::size_t DisplayWidth(std::string_view utf8);
