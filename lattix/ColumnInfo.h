#pragma once

#include "lattix/CellInput.h"
#include "lattix/CellOutput.h"
#include "lattix/TextFlags.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Lattix {

// What a grid control keeps about one column besides the table's cells: its renderer and
// editor, title, width and limits, visibility and title alignment.
struct CColumnInfo
{
    static constexpr int kMaxWidth = 4096;

    bool bVisible = false;
    bool bEditable = false;
    int nWidth = 0;
    // The width the column was added with; a stored layout's width 0 becomes this.
    int nDefaultWidth = 0;
    int nMinWidth = 0;
    int nMaxWidth = kMaxWidth;
    // Bounds that SetColumnWidthLimits keeps the limits within.
    int nLowestMin = 0;
    int nHighestMax = kMaxWidth;
    // The footer draws this column's cell of the footer table.
    bool bFooter = false;
    std::unique_ptr<CCellOutput> pOutput;
    std::unique_ptr<CCellInput> pInput;
    // First line of the title (UTF-8), shown in the header.
    std::string strTitle;
    // Text format word of the header title.
    std::uint32_t nFormat = TextFlags::kLeft;
    // The title after its first line feed; menus and the header tooltip use it.
    std::string strLongName;
    std::string strFooterTip;
};

} // namespace Lattix
