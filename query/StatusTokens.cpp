#include "query/StatusTokens.h"

namespace {

char ByteAt(std::string_view text, std::size_t pos)
{
    return pos < text.size() ? text[pos] : '\0';
}

// The bytes that end a token or are not copied as they are.
bool IsTokenControl(char c)
{
    return c == '\0' || c == '\n' || c == '\\' || c == '"' || c == '^';
}

} // namespace

std::string ReadToken(std::string_view text, std::size_t& pos)
{
    std::string token;
    bool inQuotes = false;
    for (;;) {
        // Plain bytes are copied a run at a time.
        if (pos < text.size()) {
            std::size_t plain = pos;
            while (plain < text.size() && !IsTokenControl(text[plain]))
                ++plain;
            token.append(text.data() + pos, plain - pos);
            pos = plain;
        }
        const char c = ByteAt(text, pos);
        if (c == '\0' || c == '\n' || (c == '\\' && !inQuotes))
            break;
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '^') {
            // A colour code: the caret and whatever byte follows it.
            if (ByteAt(text, pos + 1) == '\0') {
                ++pos; // a caret at the very end ends the token
                break;
            }
            ++pos;
        } else {
            token.push_back(c);
        }
        ++pos;
    }
    return token;
}

std::int32_t ReadInt(std::string_view text, std::size_t& pos)
{
    while (ByteAt(text, pos) == ' ')
        ++pos;
    bool negative = false;
    if (ByteAt(text, pos) == '-') {
        negative = true;
        ++pos;
    }
    std::uint32_t value = 0;
    for (char c = ByteAt(text, pos); c >= '0' && c <= '9'; c = ByteAt(text, ++pos))
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}
