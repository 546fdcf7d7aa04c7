#pragma once

#include "lattix/edit/CellInputWindow.h"
#include "velk/ExEdit.h"

namespace Lattix {

// The editor of text cells: an extended edit in the grid's font that shows the whole text
// selected. A text limit of 0 allows any length; the number-only flag lets only digits be
// typed.
class CTextIn : public CCellInputWindow<CExEdit>
{
public:
    explicit CTextIn(int textLimit = 0, bool numberOnly = false);

    int GetMinWidth() const override { return kMinWidth; }
    int GetMinHeight() const override { return kMinHeight; }
    void StoreValue(CCellData& cell) override;
    void LoadValue(const CCellData& cell) override;
    void Create(const CCellData& cell, const QRect& rect, bool userStart) override;

    static constexpr int kMinWidth = 16;
    static constexpr int kMinHeight = 10;

private:
    int m_nTextLimit;
    bool m_bNumberOnly;
};

} // namespace Lattix
