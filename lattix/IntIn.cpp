#include "lattix/IntIn.h"

#include "lattix/CellData.h"

#include <QApplication>

#include <limits>

namespace Lattix {

CIntIn::CIntIn() : CCellInputWindow<CNumberEdit>(0)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    Format().SetDigits(0);
    ShowButtons(true);
}

void CIntIn::Create(const CCellData& cell, const QRect& rect, bool /*userStart*/)
{
    setFont(QApplication::font());
    ShowWindowAt(rect);
    LoadValue(cell);
}

void CIntIn::LoadValue(const CCellData& cell)
{
    SetValue(cell.GetInt());
    selectAll();
}

void CIntIn::StoreValue(CCellData& cell)
{
    // The range keeps the value inside int; the cast truncates toward zero.
    cell.Set(static_cast<int>(GetValue()));
}

} // namespace Lattix
