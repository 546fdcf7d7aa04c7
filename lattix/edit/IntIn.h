#pragma once

#include "lattix/edit/CellInputWindow.h"
#include "velk/NumberEdit.h"

namespace Lattix {

// The editor of integer cells: a number edit with spin buttons over the whole int range,
// without decimals, right aligned, in the system's default font. A typed fraction is
// truncated toward zero when the value is stored.
//
// (The number edit itself reads doubles; no other editor needs a double layer between it
// and this class, so there is none.)
class CIntIn : public CCellInputWindow<CNumberEdit>
{
public:
    CIntIn();

    int GetMinWidth() const override { return kMinWidth; }
    int GetMinHeight() const override { return kMinHeight; }
    void StoreValue(CCellData& cell) override;
    void LoadValue(const CCellData& cell) override;
    void Create(const CCellData& cell, const QRect& rect, bool userStart) override;

    static constexpr int kMinWidth = 16;
    static constexpr int kMinHeight = 10;
};

} // namespace Lattix
