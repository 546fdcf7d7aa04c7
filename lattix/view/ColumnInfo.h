#pragma once

#include "lattix/edit/CellInput.h"
#include "lattix/view/CellOutput.h"
#include "lattix/view/TextFlags.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Lattix {

// What a grid control keeps about one column besides the table's cells and the column's
// place (CColumnGeometry): its renderer and editor, title and title alignment.
struct CColumnInfo
{
    bool bEditable = false;
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
