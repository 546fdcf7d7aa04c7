#include "lattix/view/CellOutput.h"

#include "lattix/model/CellData.h"
#include "lattix/model/ColData.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/TextFlags.h"

#include <QPainter>

#include <algorithm>

namespace Lattix {

CCellOutput::~CCellOutput() = default;

const CDrawState& CCellOutput::GetDrawState() const
{
    if (m_pDrawState != nullptr)
        return *m_pDrawState;
    static const CDrawState systemLook;
    return systemLook;
}

void CCellOutput::SetEditable(bool) {}

void CCellOutput::Begin(QPainter& painter)
{
    m_pPainter = &painter;
    painter.save();
    painter.setFont(GetDrawState().GetFont());
    painter.setBackgroundMode(Qt::TransparentMode);
}

void CCellOutput::End()
{
    if (m_pPainter != nullptr)
        m_pPainter->restore();
    m_pPainter = nullptr;
}

int CCellOutput::GetHeight()
{
    return GetMetrics().height() + 2;
}

int CCellOutput::GetMinWidth()
{
    return TextWidth(QStringLiteral("W..."));
}

int CCellOutput::GetDefaultWidth()
{
    return 80;
}

std::string CCellOutput::GetToolTip(const CCellData& cell, int availableWidth)
{
    if (GetCellWidth(cell) > availableWidth)
        return GetText(cell);
    return {};
}

int CCellOutput::GetMaxWidth(const CColData& column, int rowCount)
{
    int widest = 0;
    for (int row = 0; row < rowCount; ++row)
        widest = std::max(widest, GetCellWidth(*column.GetCell(row)));
    return widest;
}

ColorWord CCellOutput::GetColor(const CCellData&, bool)
{
    return kNormalColor;
}

QFontMetrics CCellOutput::GetMetrics() const
{
    if (m_pPainter != nullptr)
        return m_pPainter->fontMetrics();
    return QFontMetrics(GetDrawState().GetFont());
}

int CCellOutput::TextWidth(const QString& text) const
{
    return GetMetrics().horizontalAdvance(text);
}

int CCellOutput::TextWidth(const std::string& text) const
{
    return TextWidth(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void CCellOutput::DrawTextIn(const QRect& rect, const QString& text, ColorWord color, bool selected,
                             std::uint32_t flags) const
{
    if (m_pPainter == nullptr)
        return;
    m_pPainter->setPen(GetDrawState().ResolveTextColor(color, selected));
    TextFlags::DrawText(*m_pPainter, rect, text, flags);
}

void CCellOutputCString::Draw(const QRect& rect, const CCellData& cell, bool selected)
{
    const std::string text = GetText(cell);
    DrawTextIn(rect, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
               GetColor(cell, selected), selected, m_nFlags);
}

int CCellOutputCString::GetCellWidth(const CCellData& cell)
{
    return TextWidth(GetText(cell));
}

void CCellOutputCharPtr::Draw(const QRect& rect, const CCellData& cell, bool selected)
{
    DrawTextIn(rect, QString::fromUtf8(GetCharPtr(cell)), GetColor(cell, selected), selected,
               m_nFlags);
}

int CCellOutputCharPtr::GetCellWidth(const CCellData& cell)
{
    return TextWidth(QString::fromUtf8(GetCharPtr(cell)));
}

std::string CCellOutputCharPtr::GetText(const CCellData& cell)
{
    return GetCharPtr(cell);
}

} // namespace Lattix
