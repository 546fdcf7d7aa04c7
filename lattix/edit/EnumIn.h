#pragma once

#include "lattix/edit/CellInput.h"
#include "lattix/edit/ComboTable.h"
#include "lattix/model/AbstractEnum.h"

#include <cstdint>

namespace Lattix {

// The in-place editor of enumeration cells: a combo table whose list holds one row per
// entry of the enumeration, in the enumeration's order, drawn (like the closed face) by the
// enumeration renderer. The editor's window is made once and reused for every edit; each
// edit refills the list, and the recipient of LXN_ENUMEDITOPEN may change the rows before
// they are sorted and shown. A user's click on the drop button of the cell (its right 15
// pixels) opens the list at once. Choosing another row reports LXN_ENUMSELCHANGE.
//
// While the list is closed the keys that end or move an edit go to the edit controller;
// while it is open every key belongs to the list.
class CEnumIn : public CComboTable, public CCellInput
{
    Q_OBJECT

public:
    // The width at the right end of a cell on which a click opens the list at once.
    static constexpr int kDropButtonZone = 16;

    CEnumIn(CAbstractEnum* enumeration, int mode, std::uint32_t flags);

    void SetOwner(QWidget* parent, CCellEditController* controller) override;
    int GetMinWidth() const override { return 12; }
    int GetMinHeight() const override;
    void StoreValue(CCellData& cell) override;
    // False while no row is selected, as in a list that the recipient of LXN_ENUMEDITOPEN
    // emptied: such an edit stores nothing.
    bool HasValue() const override;
    // Selects the entry of cell's value, or the first row when there is none.
    void LoadValue(const CCellData& cell) override;
    void Create(const CCellData& cell, const QRect& rect, bool userStart) override;
    void Destroy() override;
    void Move(const QRect& rect) override;
    QWidget& Window() override { return *this; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DefineList();
    // Screen readers name the editor as the header names its column.
    void NameAfterColumn();

    CEnumRef m_pEnum;
    int m_nMode;
    std::uint32_t m_nFlags;
    unsigned m_openings = 0; // counts Create, which LXN_ENUMEDITOPEN may re-enter
};

} // namespace Lattix
