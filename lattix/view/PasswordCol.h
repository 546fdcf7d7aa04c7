#pragma once

#include "lattix/view/StringCol.h"

namespace Lattix {

// A text column of passwords: as CStringCol, drawn masked by CPasswordOut.
class CPasswordCol : public CStringCol
{
public:
    using CStringCol::CStringCol;

    std::unique_ptr<CCellOutput> CreateOutput() const override;
};

} // namespace Lattix
