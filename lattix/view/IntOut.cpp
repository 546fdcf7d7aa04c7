#include "lattix/view/IntOut.h"

#include "lattix/model/CellData.h"
#include "lattix/model/ColData.h"

#include <QString>

#include <algorithm>

namespace Lattix {

CIntOut::CIntOut(std::uint32_t flags, const CIntFormat& format)
    : CCellOutputCharPtr(flags), m_format(format)
{
}

const char* CIntOut::Format(int value)
{
    m_format.FormatTo(m_buffer, value);
    return m_buffer.data();
}

const char* CIntOut::GetCharPtr(const CCellData& cell)
{
    return Format(cell.GetInt());
}

int CIntOut::GetMinWidth()
{
    return TextWidth(QStringLiteral("0..."));
}

int CIntOut::GetDefaultWidth()
{
    return TextWidth(QString::fromUtf8(Format(0x3FFFFFFF)));
}

ColorWord CIntOut::GetColor(const CCellData& cell, bool)
{
    return m_format.GetColor(cell.GetInt());
}

int CIntOut::GetMaxWidth(const CColData& column, int rowCount)
{
    if (rowCount <= 0)
        return 0;

    int lowest = column.GetCell(0)->GetInt();
    int highest = lowest;
    const bool skipSpecial = m_format.HasSpecial() && !m_format.GetSpecialText().empty();
    bool specialSeen = false;
    for (int row = rowCount - 1; row >= 0; --row) {
        const int value = column.GetCell(row)->GetInt();
        if (skipSpecial && value == m_format.GetSpecialValue()) {
            specialSeen = true;
            continue;
        }
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }

    int widest = std::max(TextWidth(QString::fromUtf8(Format(lowest))),
                          TextWidth(QString::fromUtf8(Format(highest))));
    if (specialSeen)
        widest = std::max(widest, TextWidth(m_format.GetSpecialText()));
    return widest;
}

} // namespace Lattix
