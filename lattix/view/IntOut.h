#pragma once

#include "format/IntFormat.h"
#include "lattix/view/CellOutput.h"

#include <array>

namespace Lattix {

// Renders integer cells with an integer format: grouping, the special text for the
// special value, negative values in the negative colour when the format says so. The
// text goes into a buffer of the renderer, so drawing builds no string.
class CIntOut : public CCellOutputCharPtr
{
public:
    CIntOut(std::uint32_t flags, const CIntFormat& format);

    // Width of "0...".
    int GetMinWidth() override;
    // Width of 1073741823 formatted.
    int GetDefaultWidth() override;
    // Measures only the smallest and the largest value (and the special text when the
    // special value occurs): the widest text is one of them.
    int GetMaxWidth(const CColData& column, int rowCount) override;
    ColorWord GetColor(const CCellData& cell, bool selected) override;
    const char* GetCharPtr(const CCellData& cell) override;

    CIntFormat& GetFormat() { return m_format; }
    const CIntFormat& GetFormat() const { return m_format; }

private:
    const char* Format(int value);

    CIntFormat m_format;
    std::array<char, CIntFormat::kBufferSize> m_buffer{};
};

} // namespace Lattix
