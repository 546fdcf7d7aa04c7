#include "testnet/Request.h"

#include <charconv>

namespace testnet {

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool IsSpace(char c)
{
    // Words are separated by any control character or blank, as in the game.
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::optional<CRequest> CRequest::Parse(std::string_view datagram)
{
    if (datagram.size() < 4 || datagram.substr(0, 4) != std::string_view("\xFF\xFF\xFF\xFF", 4))
        return std::nullopt;
    std::string_view text = datagram.substr(4);
    if (const auto zero = text.find('\0'); zero != text.npos)
        text = text.substr(0, zero);

    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsSpace(text[i]))
            ++i;
        if (i > start)
            words.emplace_back(text.substr(start, i - start));
    }
    if (words.empty())
        return std::nullopt;
    CRequest request;
    request.command = Lower(words.front());
    request.args.assign(words.begin() + 1, words.end());
    return request;
}

std::optional<CMasterQuery> CMasterQuery::From(const CRequest& request)
{
    if (request.command != "getservers" || request.args.empty())
        return std::nullopt;
    const std::string& number = request.args.front();
    CMasterQuery query;
    const auto [ptr, ec] =
        std::from_chars(number.data(), number.data() + number.size(), query.protocol);
    if (ec != std::errc() || ptr != number.data() + number.size())
        return std::nullopt;
    for (std::size_t i = 1; i < request.args.size(); ++i) {
        const std::string word = Lower(request.args[i]);
        if (word == "full")
            query.full = true;
        else if (word == "empty")
            query.empty = true;
    }
    return query;
}

} // namespace testnet
