#include "app/GridLayouts.h"

#include "app/SettingsKey.h"
#include "lattix/model/LayoutWords.h"
#include "lattix/view/TableCtrl.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kHeaderWords = 3;
constexpr std::size_t kColumnWords = 4; // width, 0, visible, display position

// A layout stored before the grid got more columns at its end: its own columns as stored,
// the new ones as the grid has them, shown after the others. Nothing when stored is no
// such layout (then it is applied as it is, and refused when it does not fit).
std::optional<Lattix::CWordArray> Widened(const Lattix::CWordArray& own, const QByteArray& stored,
                                          const Lattix::CTableCtrl& grid)
{
    Lattix::CWordArray old(static_cast<std::size_t>(stored.size() / 2), 0);
    Lattix::CLayoutWords::ReadBytesOver(old, stored);
    const int columns = grid.GetColumnCount();
    if (old.size() < kHeaderWords || old[0] != own[0] || old[2] == 0 || old[2] >= columns ||
        old.size() != kHeaderWords + kColumnWords * old[2])
        return std::nullopt;
    const int count = old[2];
    std::vector<std::string> titles;
    for (int col = 0; col < count; ++col)
        titles.push_back(grid.GetColumnTitle(col));
    if (old[1] != Lattix::CLayoutWords::TitleChecksum(titles))
        return std::nullopt;
    Lattix::CWordArray words = own;
    std::copy(old.begin() + kHeaderWords, old.end(), words.begin() + kHeaderWords);
    for (int col = count; col < columns; ++col)
        words[kHeaderWords + kColumnWords * static_cast<std::size_t>(col) + 3] =
            static_cast<std::uint16_t>(col);
    return words;
}

} // namespace

bool RestoreGridLayout(const CSettingsKey& settings, Lattix::CTableCtrl& grid, const QString& name)
{
    Lattix::CWordArray words;
    grid.GetLayout(words);
    const QByteArray stored = settings.GetBinary(name);
    if (const auto widened = Widened(words, stored, grid))
        return grid.SetLayout(*widened);
    const std::size_t count = std::min(words.size(), static_cast<std::size_t>(stored.size() / 2));
    for (std::size_t i = 0; i < count; ++i) {
        const auto low = static_cast<unsigned char>(stored[static_cast<qsizetype>(2 * i)]);
        const auto high = static_cast<unsigned char>(stored[static_cast<qsizetype>(2 * i + 1)]);
        words[i] = static_cast<std::uint16_t>(low | (high << 8));
    }
    return grid.SetLayout(words) && count > 0;
}

void SaveGridLayout(CSettingsKey& settings, const Lattix::CTableCtrl& grid, const QString& name)
{
    Lattix::CWordArray words;
    grid.GetLayout(words);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(words.size() * 2));
    for (const std::uint16_t word : words) {
        bytes.append(static_cast<char>(word & 0xFF));
        bytes.append(static_cast<char>(word >> 8));
    }
    settings.SetBinary(name, bytes);
}
