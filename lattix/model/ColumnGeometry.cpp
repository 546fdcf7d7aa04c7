#include "lattix/model/ColumnGeometry.h"

#include <algorithm>
#include <numeric>

namespace Lattix {

void CColumnGeometry::SetColumnCount(int n)
{
    m_columns.assign(static_cast<std::size_t>(std::max(0, n)), CColumn());
    m_order.resize(m_columns.size());
    std::iota(m_order.begin(), m_order.end(), 0);
}

int CColumnGeometry::AddColumn()
{
    const int col = GetColumnCount();
    m_columns.emplace_back();
    m_order.push_back(col);
    return col;
}

void CColumnGeometry::ClampWidth(CColumn& column)
{
    column.nWidth = std::max(column.nMinWidth, std::min(column.nWidth, column.nMaxWidth));
}

void CColumnGeometry::SetWidth(int col, int width)
{
    CColumn& column = At(col);
    column.nWidth = width;
    ClampWidth(column);
}

void CColumnGeometry::SetWidthLimits(int col, int minWidth, int maxWidth)
{
    CColumn& column = At(col);
    column.nMinWidth = std::max(minWidth, column.nLowestMin);
    column.nMaxWidth = std::min(maxWidth, kMaxWidth);
    ClampWidth(column);
}

void CColumnGeometry::SetLowestMinWidth(int col, int lowestMin)
{
    CColumn& column = At(col);
    column.nLowestMin = lowestMin;
    column.nMinWidth = std::clamp(column.nMinWidth, lowestMin, kMaxWidth);
    column.nMaxWidth = std::clamp(column.nMaxWidth, column.nMinWidth, kMaxWidth);
    ClampWidth(column);
}

void CColumnGeometry::FitToWidth(int target)
{
    const int total = GetTotalWidth();
    if (total <= 0)
        return;
    int last = -1;
    int sum = 0;
    for (int col : m_order) {
        if (!IsVisible(col))
            continue;
        SetWidth(col, static_cast<int>(static_cast<double>(GetWidth(col)) * target / total));
        sum += GetWidth(col);
        last = col;
    }
    if (last >= 0)
        SetWidth(last, GetWidth(last) + target - sum);
}

int CColumnGeometry::GetColumnPos(int col) const
{
    const auto it = std::find(m_order.begin(), m_order.end(), col);
    return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

void CColumnGeometry::MoveColumn(int col, int pos)
{
    const auto it = std::find(m_order.begin(), m_order.end(), col);
    if (it == m_order.end())
        return;
    m_order.erase(it);
    pos = std::clamp(pos, 0, static_cast<int>(m_order.size()));
    m_order.insert(m_order.begin() + pos, col);
}

int CColumnGeometry::GetNextVisiblePos(int pos) const
{
    const int count = static_cast<int>(m_order.size());
    for (int p = std::max(pos + 1, 0); p < count; ++p) {
        if (IsVisible(GetColumnAtPos(p)))
            return p;
    }
    return count;
}

int CColumnGeometry::GetPrevVisiblePos(int pos) const
{
    for (int p = std::min(pos, static_cast<int>(m_order.size())) - 1; p >= 0; --p) {
        if (IsVisible(GetColumnAtPos(p)))
            return p;
    }
    return -1;
}

int CColumnGeometry::GetColumnLeft(int col) const
{
    int left = 0;
    for (int c : m_order) {
        if (c == col)
            break;
        if (IsVisible(c))
            left += GetWidth(c);
    }
    return left;
}

int CColumnGeometry::GetTotalWidth() const
{
    int total = 0;
    for (int col : m_order) {
        if (IsVisible(col))
            total += GetWidth(col);
    }
    return total;
}

int CColumnGeometry::ColumnFromX(int x) const
{
    if (x < 0)
        return -1;
    int right = 0;
    for (int col : m_order) {
        if (!IsVisible(col))
            continue;
        right += GetWidth(col);
        if (x < right)
            return col;
    }
    return -1;
}

int CColumnGeometry::BorderHitTest(int x, int before, int after) const
{
    int right = 0;
    for (int col : m_order) {
        if (!IsVisible(col))
            continue;
        right += GetWidth(col);
        if (x >= right - before && x <= right + after)
            return col;
        if (x < right - before)
            return -1;
    }
    return -1;
}

CWordArray CColumnGeometry::GetLayout(std::span<const std::string> titles) const
{
    std::vector<CLayoutColumn> columns;
    columns.reserve(m_columns.size());
    for (const CColumn& column : m_columns)
        columns.push_back({column.nWidth, column.bVisible, column.nDefaultWidth});
    return CLayoutWords::Build(titles, columns, m_order);
}

bool CColumnGeometry::SetLayout(std::span<const std::uint16_t> words,
                                std::span<const std::string> titles)
{
    std::vector<CLayoutColumn> columns;
    columns.reserve(m_columns.size());
    for (const CColumn& column : m_columns)
        columns.push_back({column.nWidth, column.bVisible, column.nDefaultWidth});
    std::vector<int> order = m_order;
    if (!CLayoutWords::Apply(words, titles, columns, order))
        return false;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        m_columns[i].nWidth = columns[i].nWidth;
        m_columns[i].bVisible = columns[i].bVisible;
    }
    m_order = std::move(order);
    return true;
}

} // namespace Lattix
