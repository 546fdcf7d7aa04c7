#pragma once

#include <QByteArray>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Lattix {

// A grid's column arrangement as 16-bit words: version 2, a checksum of the column titles,
// the column count n, then per model column its width, a 0, its visible flag and its
// display position; 3 + 4n words in all. Stored as bytes, little-endian.
using CWordArray = std::vector<std::uint16_t>;

// What the layout words say about one model column.
struct CLayoutColumn
{
    int nWidth = 0;
    bool bVisible = false;
    // What a stored width of 0 becomes (a column nobody could grab).
    int nDefaultWidth = 0;
};

// Building, checking and applying layout words. The grid control gathers its column
// records into these plain values and takes the result back; storage is the caller's.
class CLayoutWords
{
public:
    static constexpr std::uint16_t kVersion = 2;
    // Widths above this are no width a column can have.
    static constexpr int kMaxWidth = 4096;

    // The checksum of the first title lines, given in model column order: from the last
    // column to the first, each byte taken as a signed 8-bit value c, h := h * 33 + c
    // modulo 65536. Empty titles add nothing.
    static std::uint16_t TitleChecksum(std::span<const std::string> titles);

    // The 3 + 4n words for columns (model order) shown in displayOrder (a permutation of
    // the model indices, left to right).
    static CWordArray Build(std::span<const std::string> titles,
                            std::span<const CLayoutColumn> columns,
                            std::span<const int> displayOrder);

    // Applies words to columns and displayOrder when they fit the titles and are sound:
    // version 2, the titles' checksum, their count, all 3 + 4n words present, every
    // width at most kMaxWidth, and positions that form a permutation. A column whose
    // title is empty keeps its visibility. A width of 0 becomes the column's default
    // width, and when no column would be visible the first titled one in the new display
    // order stays visible. Returns false and changes nothing otherwise.
    static bool Apply(std::span<const std::uint16_t> words, std::span<const std::string> titles,
                      std::vector<CLayoutColumn>& columns, std::vector<int>& displayOrder);

    // Words as stored bytes (two per word, low byte first).
    static QByteArray ToBytes(std::span<const std::uint16_t> words);
    // Reads stored bytes over words: as many whole words as both hold; the words beyond
    // the stored bytes keep their values, bytes beyond the words are ignored.
    static void ReadBytesOver(CWordArray& words, const QByteArray& bytes);
};

} // namespace Lattix
