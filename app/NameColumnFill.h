#pragma once

#include "lattix/model/LayoutWords.h"

#include <QObject>

#include <vector>

namespace Lattix {
class CTableCtrl;
}

// Lets a grid's name columns take the width that its other columns leave, so that a grid
// at its default layout shows no empty area beside cut-off names. The name columns never
// get narrower than their own default widths, and room for the vertical scroll bar is kept
// so that the last column is not hidden under it. The grid follows its size until the user
// changes its layout (a width, a column's place or whether it shows); from then on the
// layout stays as the user left it.
class CNameColumnFill : public QObject
{
public:
    CNameColumnFill(Lattix::CTableCtrl& grid, std::vector<int> nameColumns);

    // Fits the name columns to the grid's present width, unless the user changed the layout.
    void Fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Lattix::CTableCtrl& m_grid;
    std::vector<int> m_columns;
    std::vector<int> m_defaults; // the name columns' own widths
    Lattix::CWordArray m_fitted; // the layout that Fit set last
    bool m_following = true;
};
