#include "app/GridLayouts.h"

#include "app/SettingsKey.h"
#include "lattix/model/LayoutWords.h"
#include "lattix/view/TableCtrl.h"

bool RestoreGridLayout(const CSettingsKey& settings, Lattix::CTableCtrl& grid, const QString& name)
{
    Lattix::CWordArray words;
    grid.GetLayout(words);
    const QByteArray stored = settings.GetBinary(name);
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
