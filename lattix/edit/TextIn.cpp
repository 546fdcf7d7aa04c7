#include "lattix/edit/TextIn.h"

#include "lattix/model/CellData.h"
#include "lattix/view/DrawState.h"

#include <QRegularExpressionValidator>

#include <limits>

namespace Lattix {

CTextIn::CTextIn(int textLimit, bool numberOnly)
    : CCellInputWindow<CExEdit>(0), m_nTextLimit(textLimit), m_bNumberOnly(numberOnly)
{
    if (m_bNumberOnly)
        setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
}

void CTextIn::Create(const CCellData& cell, const QRect& rect, bool /*userStart*/)
{
    if (const CDrawState* state = GetDrawState())
        setFont(state->GetFont());
    // A line edit limits its text to 32,767 characters unless told otherwise; a cell that
    // holds more must come back whole.
    setMaxLength(m_nTextLimit > 0 ? m_nTextLimit : std::numeric_limits<int>::max());
    ShowWindowAt(rect);
    LoadValue(cell);
}

void CTextIn::LoadValue(const CCellData& cell)
{
    const char* text = cell.GetCharPtr();
    setText(text ? QString::fromUtf8(text) : QString());
    selectAll(); // leaves the caret at the end, in view
}

void CTextIn::StoreValue(CCellData& cell)
{
    cell.Set(text().toStdString());
}

} // namespace Lattix
