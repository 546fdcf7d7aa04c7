#pragma once

#include "lattix/model/AbstractEnum.h"
#include "lattix/model/CellCompare.h"

namespace Lattix {

// Orders the integer cells of an enumeration column by their entries' sort keys (the
// order of the lines of the enumeration's text), not by value or text. A value without
// an entry sorts with key 0. Holds a counted reference to the enumeration.
class CEnumCompare : public CCellCompare
{
public:
    explicit CEnumCompare(CAbstractEnum* enumeration) : m_enum(enumeration) {}

    // The difference of the sort keys, not reduced to -1, 0, 1.
    int Compare(const CCellData& a, const CCellData& b) const override;
    std::unique_ptr<CCellCompare> Clone() const override;

    CAbstractEnum* GetEnum() const { return m_enum.Get(); }

private:
    CEnumRef m_enum;
};

} // namespace Lattix
