#include "app/NameColumnFill.h"

#include "lattix/model/ColumnGeometry.h"
#include "lattix/view/TableCtrl.h"

#include <QEvent>
#include <QStyle>

#include <algorithm>

CNameColumnFill::CNameColumnFill(Lattix::CTableCtrl& grid, std::vector<int> nameColumns)
    : m_grid(grid), m_columns(std::move(nameColumns))
{
    for (const int col : m_columns)
        m_defaults.push_back(m_grid.GetColumnWidth(col));
    m_grid.installEventFilter(this);
}

bool CNameColumnFill::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_grid && event->type() == QEvent::Resize)
        Fit();
    return false;
}

void CNameColumnFill::Fit()
{
    if (!m_following)
        return;
    Lattix::CWordArray layout;
    m_grid.GetLayout(layout);
    if (!m_fitted.empty() && layout != m_fitted) {
        m_following = false; // the user's layout from now on
        return;
    }
    // The shown name columns share what is left beyond their own widths.
    int names = 0;
    int least = 0;
    int shown = 0;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_grid.Geometry().IsVisible(m_columns[i])) {
            names += m_grid.GetColumnWidth(m_columns[i]);
            least += m_defaults[i];
            ++shown;
        }
    }
    const int others = m_grid.Geometry().GetTotalWidth() - names;
    const int room = m_grid.contentsRect().width() -
                     m_grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent) - others;
    int extra = std::max(0, room - least);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (!m_grid.Geometry().IsVisible(m_columns[i]))
            continue;
        const int share = extra / shown--;
        extra -= share;
        m_grid.SetColumnWidth(m_columns[i], m_defaults[i] + share);
    }
    m_grid.Update(true);
    m_grid.GetLayout(m_fitted);
}
