#pragma once

#include "format/Format.h"
#include "lattix/view/CellOutput.h"

#include <string_view>

namespace Lattix {

// Renders text cells. With the format's special text on, an empty cell shows the special
// text in the special colour, selected or not.
class CStringOut : public CCellOutputCString
{
public:
    CStringOut(std::uint32_t flags, const CFormat& format);

    std::string GetText(const CCellData& cell) override;
    ColorWord GetColor(const CCellData& cell, bool selected) override;
    // Shapes only the texts that can be the widest, so that sizing a column of many rows
    // stays quick (CTextWidth).
    int GetMaxWidth(const CColData& column, int rowCount) override;

    CFormat& GetFormat() { return m_format; }
    const CFormat& GetFormat() const { return m_format; }

private:
    // The text a cell shows, without a copy.
    std::string_view Shown(const CCellData& cell) const;

    CFormat m_format;
};

} // namespace Lattix
