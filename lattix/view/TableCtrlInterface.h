#pragma once

#include "lattix/edit/CellInput.h"
#include "lattix/model/LayoutWords.h"
#include "lattix/model/SortKey.h"
#include "lattix/model/TableInterface.h"
#include "lattix/view/CellOutput.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Lattix {

class CColDef;

// The operations of a grid control: the table operations of CTableInterface and the view
// operations below. Each view operation, and the table operations SetColumnCount,
// CreateRowLayout, Clear and Sort, forwards to the control that this interface presents;
// the other table operations go to the target as in CTableInterface. A wrapper that shows
// a grid as its own (a combo box with a drop-down grid) derives from this and points both
// at that grid.
//
// "col" is a model column, "pos" a display position (left to right), "row" a row.
class CTableCtrlInterface : public CTableInterface
{
public:
    using CTableInterface::AddColumn;
    using CTableInterface::CreateRowLayout;
    using CTableInterface::SetColumn;

    void SetColumnCount(int n) override;
    void CreateRowLayout() override;
    void Clear() override;
    void Sort(std::span<const CSortKey> keys) override;

    // Recomputes the layout and scroll bars, repaints; keepSort false drops the sort order
    // (and the header's arrows).
    virtual void Update(bool keepSort);
    // The table's row layout; dataColumn is an integer column that holds one value of
    // the application per row (SetItemData), or -1.
    virtual void CreateRowLayout(int dataColumn);
    // Adds a column made from the definition. A null title or a negative width adds a
    // hidden column; width 0 takes the renderer's default width plus the margins.
    virtual int AddColumn(const CColDef& def, const char* title, int width);
    virtual void SetColumnView(int col, std::unique_ptr<CCellOutput> output,
                               std::unique_ptr<CCellInput> input, const char* title, int width);
    virtual void SetColumn(int col, const CColDef& def, const char* title, int width);
    virtual void GetLayout(CWordArray& words) const;
    virtual bool SetLayout(std::span<const std::uint16_t> words);
    virtual int GetDlgCtrlID() const;
    virtual void SetLeparello(bool on);
    virtual bool GetLeparello() const;
    virtual void SetHorzGrid(bool on);
    virtual void SetVertGrid(bool on);
    virtual bool HasHorzGrid() const;
    virtual bool HasVertGrid() const;
    virtual void ShowHeader(bool show);
    virtual void EnableHeaderSort(bool enable);
    virtual bool IsHeaderSortEnabled() const;
    virtual const std::vector<CSortKey>& GetSortOrder() const;
    // Text up to the first line feed is the header title, the rest the long name;
    // format -1 takes the renderer's alignment.
    virtual void SetColumnTitle(int col, const std::string& title, int format);
    virtual void SetColumnFormat(int col, int format);
    virtual std::string GetColumnTitle(int col) const;
    virtual int GetColumnFormat(int col) const;
    virtual void SetColumnWidth(int col, int width);
    virtual void AutoSizeColumns(bool includeTitle);
    virtual void AutoSizeColumn(int col, bool includeTitle);
    virtual void SetColumnWidthLimits(int col, int minWidth, int maxWidth);
    virtual int GetColumnMinWidth(int col) const;
    virtual int GetColumnMaxWidth(int col) const;
    virtual int GetColumnWidth(int col) const;
    virtual void EnableColumnResize(bool enable);
    virtual bool IsColumnResizeEnabled() const;
    virtual void EnableColumnMove(bool enable);
    virtual bool IsColumnMoveEnabled() const;
    virtual bool FitColumnsToWindow();
    virtual void SetColumnVisible(int col, bool visible);
    virtual std::string GetCellText(int row, int col) const;
    // The first row after `after` (wrapping round, `after` itself last or never) whose
    // cell text starts with prefix, compared without letter case by the user's collation;
    // -1 when none.
    virtual int FindText(int col, const std::string& prefix, int after) const;
    virtual int GetSelectedRow() const;
    virtual void SelectRow(int row);
    virtual void SetItemData(int row, int value);
    virtual int GetItemData(int row) const;
    virtual int FindItemData(int value) const;

protected:
    CTableCtrlInterface(CTableInterface* target, CTableCtrlInterface* ctrl)
        : CTableInterface(target), m_pCtrl(ctrl)
    {
    }
    // Presents ctrl (for a wrapper whose grid is made after it).
    void Present(CTableCtrlInterface& ctrl)
    {
        SetTarget(&ctrl);
        m_pCtrl = &ctrl;
    }

private:
    CTableCtrlInterface* m_pCtrl; // the presented control
};

} // namespace Lattix
