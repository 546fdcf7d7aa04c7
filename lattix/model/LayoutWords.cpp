#include "lattix/model/LayoutWords.h"

#include <algorithm>
#include <cstddef>

namespace Lattix {

namespace {

constexpr std::size_t kHeaderWords = 3;
constexpr std::size_t kWordsPerColumn = 4;

} // namespace

std::uint16_t CLayoutWords::TitleChecksum(std::span<const std::string> titles)
{
    std::uint16_t h = 0;
    for (auto title = titles.rbegin(); title != titles.rend(); ++title) {
        for (const char ch : *title) {
            const int c = static_cast<signed char>(ch);
            h = static_cast<std::uint16_t>(h * 33u + static_cast<unsigned>(c));
        }
    }
    return h;
}

CWordArray CLayoutWords::Build(std::span<const std::string> titles,
                               std::span<const CLayoutColumn> columns,
                               std::span<const int> displayOrder)
{
    const std::size_t n = columns.size();
    CWordArray words(kHeaderWords + kWordsPerColumn * n, 0);
    words[0] = kVersion;
    words[1] = TitleChecksum(titles);
    words[2] = static_cast<std::uint16_t>(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t base = kHeaderWords + kWordsPerColumn * i;
        words[base] = static_cast<std::uint16_t>(columns[i].nWidth);
        words[base + 2] = columns[i].bVisible ? 1 : 0;
    }
    for (std::size_t pos = 0; pos < displayOrder.size(); ++pos) {
        const int col = displayOrder[pos];
        if (col >= 0 && static_cast<std::size_t>(col) < n)
            words[kHeaderWords + kWordsPerColumn * static_cast<std::size_t>(col) + 3] =
                static_cast<std::uint16_t>(pos);
    }
    return words;
}

bool CLayoutWords::Apply(std::span<const std::uint16_t> words, std::span<const std::string> titles,
                         std::vector<CLayoutColumn>& columns, std::vector<int>& displayOrder)
{
    const std::size_t n = columns.size();
    if (words.size() < kHeaderWords || words[0] != kVersion || words[1] != TitleChecksum(titles) ||
        words[2] != n || titles.size() != n)
        return false;
    // Stored words may be damaged: every word must be there, and they must describe
    // widths a column can have and a display order that shows each column once.
    if (words.size() < kHeaderWords + kWordsPerColumn * n)
        return false;
    std::vector<int> order(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t base = kHeaderWords + kWordsPerColumn * i;
        if (words[base] > kMaxWidth)
            return false;
        const std::size_t pos = words[base + 3];
        if (pos >= n || order[pos] != -1)
            return false;
        order[pos] = static_cast<int>(i);
    }

    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t base = kHeaderWords + kWordsPerColumn * i;
        columns[i].nWidth = words[base] != 0 ? words[base] : columns[i].nDefaultWidth;
        if (!titles[i].empty())
            columns[i].bVisible = words[base + 2] != 0;
    }
    const bool anyVisible = std::any_of(columns.begin(), columns.end(),
                                        [](const CLayoutColumn& c) { return c.bVisible; });
    if (!anyVisible) {
        const auto titled = std::find_if(order.begin(), order.end(), [&](int col) {
            return !titles[static_cast<std::size_t>(col)].empty();
        });
        if (titled != order.end())
            columns[static_cast<std::size_t>(*titled)].bVisible = true;
    }
    displayOrder = std::move(order);
    return true;
}

QByteArray CLayoutWords::ToBytes(std::span<const std::uint16_t> words)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(words.size() * 2));
    for (const std::uint16_t word : words) {
        bytes.append(static_cast<char>(word & 0xFF));
        bytes.append(static_cast<char>(word >> 8));
    }
    return bytes;
}

void CLayoutWords::ReadBytesOver(CWordArray& words, const QByteArray& bytes)
{
    const std::size_t count = std::min(words.size(), static_cast<std::size_t>(bytes.size()) / 2);
    for (std::size_t i = 0; i < count; ++i) {
        const auto low = static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i)]);
        const auto high = static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i + 1)]);
        words[i] = static_cast<std::uint16_t>(low | (high << 8));
    }
}

} // namespace Lattix
