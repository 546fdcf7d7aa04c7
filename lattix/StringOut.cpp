#include "lattix/StringOut.h"

#include "lattix/CellData.h"

namespace Lattix {

CStringOut::CStringOut(std::uint32_t flags, const CFormat& format)
    : CCellOutputCString(flags), m_format(format)
{
}

std::string CStringOut::GetText(const CCellData& cell)
{
    std::string text = cell.GetString();
    if (m_format.IsSpecial(text))
        return m_format.GetSpecialText();
    return text;
}

ColorWord CStringOut::GetColor(const CCellData& cell, bool)
{
    if (const char* text = cell.GetCharPtr())
        return m_format.GetColor(std::string_view(text));
    return m_format.GetColor(cell.GetString());
}

} // namespace Lattix
