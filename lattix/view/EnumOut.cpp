#include "lattix/view/EnumOut.h"

#include "lattix/model/CellData.h"
#include "lattix/model/ColData.h"
#include "lattix/model/Table.h"
#include "lattix/view/TextFlags.h"

#include <QPoint>
#include <QString>

#include <algorithm>
#include <unordered_map>

namespace Lattix {

CEnumOut::CEnumOut(CAbstractEnum* enumeration, int mode, std::uint32_t flags)
    : CCellOutputCString(flags), m_pEnum(enumeration), m_nMode(mode)
{
    // Images need an image list that has them; without one only the text can be shown.
    // A mode that is none of the three shows text only too.
    if (!m_pEnum || m_pEnum->GetImageList().IsEmpty() || m_nMode < ImageAndText ||
        m_nMode > ImageOnly) {
        m_nMode = TextOnly;
        return;
    }
    const CImageList& images = m_pEnum->GetImageList();
    m_nImageWidth = images.GetImageWidth();
    m_nImageHeight = images.GetImageHeight();
}

const CEnumItem& CEnumOut::Lookup(const CCellData& cell)
{
    return m_pEnum->Lookup(cell.GetInt());
}

int CEnumOut::ImageExtra() const
{
    return m_nMode == ImageAndText ? m_nImageWidth + kImageGap : 0;
}

void CEnumOut::Draw(const QRect& rect, const CCellData& cell, bool selected)
{
    if (!m_pEnum)
        return;
    const CEnumItem& item = Lookup(cell);
    if (m_nMode != TextOnly && GetPainter() != nullptr) {
        // Placed like the text, vertically centred, clipped to the cell like the text; an
        // entry without an image of the list (the default entry's -1 among them) shows
        // none.
        const int x = TextFlags::PlaceHorizontally(m_nFlags, rect.left(),
                                                   rect.left() + rect.width(), m_nImageWidth, 0);
        const int y = rect.top() + (rect.height() - m_nImageHeight) / 2;
        m_pEnum->GetImageList().Draw(*GetPainter(), item.nImage, QPoint(x, y), rect);
    }
    if (m_nMode == ImageOnly)
        return;

    QRect textRect = rect;
    const int offset = ImageExtra();
    if (m_nFlags & TextFlags::Right)
        textRect.setRight(textRect.right() - offset);
    else if (!(m_nFlags & TextFlags::Center))
        textRect.setLeft(textRect.left() + offset);
    // The text of an enumeration never runs into the next cell.
    DrawTextIn(textRect,
               QString::fromUtf8(item.strText.data(), static_cast<qsizetype>(item.strText.size())),
               kNormalColor, selected, m_nFlags & ~TextFlags::NoClip);
}

int CEnumOut::GetHeight()
{
    switch (m_nMode) {
    case ImageAndText:
        return std::max(m_nImageHeight, CCellOutputCString::GetHeight());
    case ImageOnly:
        return m_nImageHeight;
    default:
        return CCellOutputCString::GetHeight();
    }
}

int CEnumOut::GetMinWidth()
{
    if (m_nMode == TextOnly)
        return CCellOutputCString::GetMinWidth();
    return m_nImageWidth;
}

int CEnumOut::GetDefaultWidth()
{
    if (m_nMode == ImageOnly)
        return m_nImageWidth;

    int widest = TextWidth(QStringLiteral("W..."));
    if (m_pEnum) {
        CTable scratch;
        scratch.AddColumn(std::make_unique<CFAny<CDInt>>(), std::make_unique<CCellCompare>());
        scratch.CreateRowLayout();
        m_pEnum->FillTable(scratch);
        for (int row = 0; row < scratch.GetRowCount(); ++row)
            widest = std::max(widest, TextWidth(Lookup(*scratch.GetCell(row, 0)).strText));
    }
    return widest + ImageExtra();
}

int CEnumOut::GetCellWidth(const CCellData& cell)
{
    if (m_nMode == ImageOnly)
        return m_nImageWidth;
    if (!m_pEnum)
        return 0;
    return TextWidth(Lookup(cell).strText) + ImageExtra();
}

std::string CEnumOut::GetText(const CCellData& cell)
{
    if (!m_pEnum)
        return {};
    return Lookup(cell).strText;
}

std::string CEnumOut::GetToolTip(const CCellData& cell, int availableWidth)
{
    if (!m_pEnum)
        return {};
    const CEnumItem& item = Lookup(cell);
    if (!item.strTip.empty())
        return item.strTip;
    if (m_nMode == ImageOnly || GetCellWidth(cell) > availableWidth)
        return item.strText;
    return {};
}

int CEnumOut::GetMaxWidth(const CColData& column, int rowCount)
{
    if (m_nMode == ImageOnly)
        return m_nImageWidth;
    if (!m_pEnum || rowCount <= 0)
        return 0;
    // A column repeats the few texts of its enumeration: measure each one once.
    std::unordered_map<const CEnumItem*, int> measured;
    int widest = 0;
    for (int row = 0; row < rowCount; ++row) {
        const CEnumItem& item = Lookup(*column.GetCell(row));
        if (auto [entry, added] = measured.try_emplace(&item, 0); added) {
            entry->second = TextWidth(item.strText);
            widest = std::max(widest, entry->second);
        }
    }
    return widest + ImageExtra();
}

} // namespace Lattix
