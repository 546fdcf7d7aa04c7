#include "lattix/edit/ThreeStateIn.h"

#include "lattix/edit/CellEditController.h"
#include "lattix/model/CellData.h"
#include "lattix/view/Notify.h"
#include "lattix/view/TextFlags.h"

#include <QStyle>

namespace Lattix {

namespace {
// Distance of a left or right aligned box from the cell's edge.
constexpr int kCheckLeftMargin = 6;
constexpr int kCheckRightMargin = 5;
} // namespace

C3StateIn::C3StateIn(std::uint32_t flags, bool threeState)
    : m_nFlags(flags), m_bThreeState(threeState)
{
    setTristate(threeState);
    QObject::connect(this, &QAbstractButton::clicked, this, [this] {
        if (CCellEditController* controller = GetController())
            controller->NotifyEditChange(LXN_CHECKCLICKED, nullptr);
    });
}

int C3StateIn::GetMinWidth() const
{
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
}

int C3StateIn::GetMinHeight() const
{
    return style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
}

QRect C3StateIn::GetCheckRect(const QRect& cell) const
{
    const int width = GetMinWidth();
    const int height = GetMinHeight();
    const int left = cell.left();
    const int right = cell.left() + cell.width(); // one past the cell
    int x = left + kCheckLeftMargin;
    if (m_nFlags == TextFlags::kCentred)
        x = (left + right - width + 1) / 2;
    else if (m_nFlags == TextFlags::kRight)
        x = right - width - kCheckRightMargin;
    const int y = (cell.top() + cell.top() + cell.height() - height + 1) / 2;
    return {x, y, width, height};
}

int C3StateIn::GetState() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void C3StateIn::SetState(int state)
{
    setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void C3StateIn::nextCheckState()
{
    SetState((GetState() + 1) % (m_bThreeState ? 3 : 2));
}

void C3StateIn::Create(const CCellData& cell, const QRect& rect, bool userStart)
{
    ShowWindowAt(rect);
    if (userStart) {
        SetState((cell.GetInt() + 1) % (m_bThreeState ? 3 : 2));
        if (CCellEditController* controller = GetController())
            controller->NotifyEditChange(LXN_CHECKCLICKED, nullptr);
    } else {
        LoadValue(cell);
    }
}

void C3StateIn::Move(const QRect& rect)
{
    setGeometry(GetCheckRect(rect));
}

void C3StateIn::LoadValue(const CCellData& cell)
{
    SetState(cell.GetInt());
}

void C3StateIn::StoreValue(CCellData& cell)
{
    cell.Set(GetState());
}

} // namespace Lattix
