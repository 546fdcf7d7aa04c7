#include "lattix/model/CellCompare.h"

#include "lattix/model/CellData.h"

namespace Lattix {

int CCellCompare::Compare(const CCellData& a, const CCellData& b) const
{
    const int c = a.CompareTo(b);
    return (c > 0) - (c < 0);
}

std::unique_ptr<CCellCompare> CCellCompare::Clone() const
{
    return std::make_unique<CCellCompare>();
}

} // namespace Lattix
