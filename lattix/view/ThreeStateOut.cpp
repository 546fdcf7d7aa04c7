#include "lattix/view/ThreeStateOut.h"

#include "lattix/model/CellData.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/TextFlags.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace Lattix {

namespace {

const std::string kErrorText = "#Error#";

bool IsKnownState(int state)
{
    return state >= 0 && state <= 2;
}

} // namespace

C3StateOut::C3StateOut(std::uint32_t flags, const std::array<std::string, 3>& labels, bool glyphs)
    : CCellOutputCString(flags), m_nMode(glyphs ? Glyphs : Labels), m_strLabels(labels)
{
}

QSize C3StateOut::CheckSize()
{
    const QStyle* style = QApplication::style();
    return QSize(style->pixelMetric(QStyle::PM_IndicatorWidth),
                 style->pixelMetric(QStyle::PM_IndicatorHeight));
}

void C3StateOut::SetEditable(bool editable)
{
    if (editable)
        m_nMode = CheckBoxes;
    else if (m_nMode == CheckBoxes)
        m_nMode = Glyphs;
}

void C3StateOut::Draw(const QRect& rect, const CCellData& cell, bool selected)
{
    const int state = cell.GetInt();
    switch (m_nMode) {
    case Labels:
        CCellOutputCString::Draw(rect, cell, selected);
        break;
    case Glyphs:
        DrawMark(rect, state, selected);
        break;
    default:
        DrawBox(rect, state);
        break;
    }
}

void C3StateOut::DrawMark(const QRect& rect, int state, bool selected)
{
    QPainter* painter = GetPainter();
    if (painter == nullptr || state == 0)
        return;

    ColorWord color = kNormalColor;
    if (state == 2)
        color = selected ? kGreyedMarkSelected : kGreyedMark;

    const QSize size = CheckSize();
    const int x =
        TextFlags::PlaceHorizontally(m_nFlags, rect.left(), rect.right() + 1, size.width(), 0);
    const int y = (rect.top() + rect.bottom() + 1 - size.height()) / 2;
    const QRectF box(x, y, size.width(), size.height());

    // A check mark: a short stroke down to the bottom third, a long one up to the right.
    QPainterPath mark;
    mark.moveTo(box.left() + box.width() * 0.18, box.top() + box.height() * 0.52);
    mark.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.76);
    mark.lineTo(box.left() + box.width() * 0.84, box.top() + box.height() * 0.26);

    painter->save();
    if (!(m_nFlags & TextFlags::NoClip))
        painter->setClipRect(rect, Qt::IntersectClip);
    painter->setRenderHint(QPainter::Antialiasing, true);
    QPen pen(GetDrawState().ResolveTextColor(color, selected));
    pen.setWidthF(std::max(1.5, box.height() / 7.0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(mark);
    painter->restore();
}

void C3StateOut::DrawBox(const QRect& rect, int state)
{
    QPainter* painter = GetPainter();
    if (painter == nullptr)
        return;

    const QSize size = CheckSize();
    const int x =
        TextFlags::PlaceHorizontally(m_nFlags, rect.left(), rect.right() + 1, size.width(), 2);
    const int y = (rect.top() + rect.bottom() + 1 - size.height()) / 2;

    QStyleOptionButton option;
    option.rect = QRect(x, y, size.width(), size.height());
    option.palette = QApplication::palette();
    option.state = QStyle::State_Enabled;
    switch (state & 3) {
    case 1:
        option.state |= QStyle::State_On;
        break;
    case 2:
        option.state |= QStyle::State_NoChange;
        break;
    default: // 0 and 3: an empty box
        option.state |= QStyle::State_Off;
        break;
    }
    if ((state & 3) != 3)
        option.features |= QStyleOptionButton::Flat;
    if (state & 4)
        option.state &= ~QStyle::State_Enabled;
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter);
}

int C3StateOut::GetHeight()
{
    const int check = CheckSize().height() + 2;
    if (m_nMode == Labels)
        return std::max(check, CCellOutputCString::GetHeight());
    return check;
}

int C3StateOut::GetMinWidth()
{
    if (m_nMode == Labels)
        return CCellOutputCString::GetMinWidth();
    return CheckSize().width() + 4;
}

int C3StateOut::GetDefaultWidth()
{
    if (m_nMode == Labels)
        return WidestLabel();
    return CheckSize().width() + 4;
}

int C3StateOut::GetCellWidth(const CCellData& cell)
{
    if (m_nMode == Labels)
        return TextWidth(GetText(cell));
    return GetMinWidth();
}

std::string C3StateOut::GetText(const CCellData& cell)
{
    const int state = cell.GetInt();
    if (!IsKnownState(state))
        return kErrorText;
    return m_strLabels[static_cast<std::size_t>(state)];
}

std::string C3StateOut::GetToolTip(const CCellData& cell, int availableWidth)
{
    if (m_nMode == Labels)
        return CCellOutputCString::GetToolTip(cell, availableWidth);
    return GetText(cell);
}

int C3StateOut::GetMaxWidth(const CColData&, int)
{
    if (m_nMode == Labels)
        return WidestLabel();
    return CheckSize().width();
}

int C3StateOut::WidestLabel() const
{
    int widest = 0;
    for (const std::string& label : m_strLabels)
        widest = std::max(widest, TextWidth(label));
    return widest;
}

} // namespace Lattix
