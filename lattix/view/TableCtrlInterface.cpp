#include "lattix/view/TableCtrlInterface.h"

namespace Lattix {

// Every operation goes to the presented control. CTableCtrl overrides them all, so a
// control presenting itself never comes back here.

void CTableCtrlInterface::SetColumnCount(int n)
{
    m_pCtrl->SetColumnCount(n);
}
void CTableCtrlInterface::CreateRowLayout()
{
    m_pCtrl->CreateRowLayout();
}
void CTableCtrlInterface::Clear()
{
    m_pCtrl->Clear();
}
void CTableCtrlInterface::Sort(std::span<const CSortKey> keys)
{
    m_pCtrl->Sort(keys);
}
void CTableCtrlInterface::Update(bool keepSort)
{
    m_pCtrl->Update(keepSort);
}
void CTableCtrlInterface::CreateRowLayout(int dataColumn)
{
    m_pCtrl->CreateRowLayout(dataColumn);
}
int CTableCtrlInterface::AddColumn(const CColDef& def, const char* title, int width)
{
    return m_pCtrl->AddColumn(def, title, width);
}
void CTableCtrlInterface::SetColumnView(int col, std::unique_ptr<CCellOutput> output,
                                        std::unique_ptr<CCellInput> input, const char* title,
                                        int width)
{
    m_pCtrl->SetColumnView(col, std::move(output), std::move(input), title, width);
}
void CTableCtrlInterface::SetColumn(int col, const CColDef& def, const char* title, int width)
{
    m_pCtrl->SetColumn(col, def, title, width);
}
void CTableCtrlInterface::GetLayout(CWordArray& words) const
{
    m_pCtrl->GetLayout(words);
}
bool CTableCtrlInterface::SetLayout(std::span<const std::uint16_t> words)
{
    return m_pCtrl->SetLayout(words);
}
int CTableCtrlInterface::GetDlgCtrlID() const
{
    return m_pCtrl->GetDlgCtrlID();
}
void CTableCtrlInterface::SetLeparello(bool on)
{
    m_pCtrl->SetLeparello(on);
}
bool CTableCtrlInterface::GetLeparello() const
{
    return m_pCtrl->GetLeparello();
}
void CTableCtrlInterface::SetHorzGrid(bool on)
{
    m_pCtrl->SetHorzGrid(on);
}
void CTableCtrlInterface::SetVertGrid(bool on)
{
    m_pCtrl->SetVertGrid(on);
}
bool CTableCtrlInterface::HasHorzGrid() const
{
    return m_pCtrl->HasHorzGrid();
}
bool CTableCtrlInterface::HasVertGrid() const
{
    return m_pCtrl->HasVertGrid();
}
void CTableCtrlInterface::ShowHeader(bool show)
{
    m_pCtrl->ShowHeader(show);
}
void CTableCtrlInterface::EnableHeaderSort(bool enable)
{
    m_pCtrl->EnableHeaderSort(enable);
}
bool CTableCtrlInterface::IsHeaderSortEnabled() const
{
    return m_pCtrl->IsHeaderSortEnabled();
}
const std::vector<CSortKey>& CTableCtrlInterface::GetSortOrder() const
{
    return m_pCtrl->GetSortOrder();
}
void CTableCtrlInterface::SetColumnTitle(int col, const std::string& title, int format)
{
    m_pCtrl->SetColumnTitle(col, title, format);
}
void CTableCtrlInterface::SetColumnFormat(int col, int format)
{
    m_pCtrl->SetColumnFormat(col, format);
}
std::string CTableCtrlInterface::GetColumnTitle(int col) const
{
    return m_pCtrl->GetColumnTitle(col);
}
int CTableCtrlInterface::GetColumnFormat(int col) const
{
    return m_pCtrl->GetColumnFormat(col);
}
void CTableCtrlInterface::SetColumnWidth(int col, int width)
{
    m_pCtrl->SetColumnWidth(col, width);
}
void CTableCtrlInterface::AutoSizeColumns(bool includeTitle)
{
    m_pCtrl->AutoSizeColumns(includeTitle);
}
void CTableCtrlInterface::AutoSizeColumn(int col, bool includeTitle)
{
    m_pCtrl->AutoSizeColumn(col, includeTitle);
}
void CTableCtrlInterface::SetColumnWidthLimits(int col, int minWidth, int maxWidth)
{
    m_pCtrl->SetColumnWidthLimits(col, minWidth, maxWidth);
}
int CTableCtrlInterface::GetColumnMinWidth(int col) const
{
    return m_pCtrl->GetColumnMinWidth(col);
}
int CTableCtrlInterface::GetColumnMaxWidth(int col) const
{
    return m_pCtrl->GetColumnMaxWidth(col);
}
int CTableCtrlInterface::GetColumnWidth(int col) const
{
    return m_pCtrl->GetColumnWidth(col);
}
void CTableCtrlInterface::EnableColumnResize(bool enable)
{
    m_pCtrl->EnableColumnResize(enable);
}
bool CTableCtrlInterface::IsColumnResizeEnabled() const
{
    return m_pCtrl->IsColumnResizeEnabled();
}
void CTableCtrlInterface::EnableColumnMove(bool enable)
{
    m_pCtrl->EnableColumnMove(enable);
}
bool CTableCtrlInterface::IsColumnMoveEnabled() const
{
    return m_pCtrl->IsColumnMoveEnabled();
}
bool CTableCtrlInterface::FitColumnsToWindow()
{
    return m_pCtrl->FitColumnsToWindow();
}
void CTableCtrlInterface::SetColumnVisible(int col, bool visible)
{
    m_pCtrl->SetColumnVisible(col, visible);
}
std::string CTableCtrlInterface::GetCellText(int row, int col) const
{
    return m_pCtrl->GetCellText(row, col);
}
int CTableCtrlInterface::FindText(int col, const std::string& prefix, int after) const
{
    return m_pCtrl->FindText(col, prefix, after);
}
int CTableCtrlInterface::GetSelectedRow() const
{
    return m_pCtrl->GetSelectedRow();
}
void CTableCtrlInterface::SelectRow(int row)
{
    m_pCtrl->SelectRow(row);
}
void CTableCtrlInterface::SetItemData(int row, int value)
{
    m_pCtrl->SetItemData(row, value);
}
int CTableCtrlInterface::GetItemData(int row) const
{
    return m_pCtrl->GetItemData(row);
}
int CTableCtrlInterface::FindItemData(int value) const
{
    return m_pCtrl->FindItemData(value);
}

} // namespace Lattix
