#pragma once

#include "lattix/edit/CellInputWindow.h"

#include <QCheckBox>

#include <cstdint>

namespace Lattix {

// The editor of boolean cells: a check box placed in the cell as the column's text flags
// say (left, centred or right). A user-started edit toggles the box at once, so one click
// on a cell changes its value; each toggle is reported as LXN_CHECKCLICKED. States are
// 0 unchecked, 1 checked and, with the three-state flag, 2 indeterminate, in that cycle.
class C3StateIn : public CCellInputWindow<QCheckBox>
{
public:
    C3StateIn(std::uint32_t flags, bool threeState);

    int GetMinWidth() const override;
    int GetMinHeight() const override;
    void StoreValue(CCellData& cell) override;
    void LoadValue(const CCellData& cell) override;
    void Create(const CCellData& cell, const QRect& rect, bool userStart) override;
    void Move(const QRect& rect) override;

    // The check box's rectangle inside a cell's rectangle.
    QRect GetCheckRect(const QRect& cell) const;
    // The state as a number: 0, 1 or 2.
    int GetState() const;
    void SetState(int state);

protected:
    void nextCheckState() override;

private:
    std::uint32_t m_nFlags;
    bool m_bThreeState;
};

} // namespace Lattix
