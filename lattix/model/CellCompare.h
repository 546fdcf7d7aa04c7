#pragma once

#include <memory>

namespace Lattix {

class CCellData;

// Orders the cells of one column for the table's sort. The default order is the cells'
// own (CCellData::CompareTo); a derived comparer may order by something else (an
// enumeration orders by its entries' sort keys). Only the sign of a result counts.
class CCellCompare
{
public:
    CCellCompare() = default;
    virtual ~CCellCompare() = default;

    // Negative, zero or positive as a sorts before, with or after b (cells of one kind).
    virtual int Compare(const CCellData& a, const CCellData& b) const;
    virtual std::unique_ptr<CCellCompare> Clone() const;

protected:
    CCellCompare(const CCellCompare&) = default;
    CCellCompare& operator=(const CCellCompare&) = default;
};

} // namespace Lattix
