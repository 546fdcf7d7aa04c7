#pragma once

#include "lattix/view/StringOut.h"

namespace Lattix {

// Renders password cells: while masked (from the start) a cell shows one dot a character,
// and its text for tooltips, type-ahead, clipboard, export and accessibility is the dots
// too. The cell keeps the real text, and the editor shows it while editing.
class CPasswordOut : public CStringOut
{
public:
    using CStringOut::CStringOut;

    // The dot that stands for each character: U+25CF, in UTF-8.
    static constexpr const char* kDot = "\xE2\x97\x8F";

    void SetMasked(bool masked) { m_masked = masked; }
    bool IsMasked() const { return m_masked; }

    std::string GetText(const CCellData& cell) override;
    int GetMaxWidth(const CColData& column, int rowCount) override;

private:
    bool m_masked = true;
};

} // namespace Lattix
