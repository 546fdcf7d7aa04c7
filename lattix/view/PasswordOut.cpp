#include "lattix/view/PasswordOut.h"

#include "lattix/model/CellData.h"

namespace Lattix {

std::string CPasswordOut::GetText(const CCellData& cell)
{
    std::string text = CStringOut::GetText(cell);
    if (!m_masked)
        return text;
    std::string dots;
    for (const char byte : text)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) // each character's first byte
            dots += kDot;
    return dots;
}

int CPasswordOut::GetMaxWidth(const CColData& column, int rowCount)
{
    // The quick estimate measures the cells' own texts; masked, the dots are measured.
    return m_masked ? CCellOutput::GetMaxWidth(column, rowCount)
                    : CStringOut::GetMaxWidth(column, rowCount);
}

} // namespace Lattix
