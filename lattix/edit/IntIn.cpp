#include "lattix/edit/IntIn.h"

#include "lattix/model/CellData.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
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
    // The number edit reads no NaN and its range keeps the value inside int; the cast
    // truncates toward zero. The clamp guards the cast should the range ever be widened.
    const double value = std::clamp(GetValue(), double(std::numeric_limits<int>::min()),
                                    double(std::numeric_limits<int>::max()));
    cell.Set(std::isnan(value) ? 0 : static_cast<int>(value));
}

} // namespace Lattix
