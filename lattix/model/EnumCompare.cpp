#include "lattix/model/EnumCompare.h"

#include "lattix/model/CellData.h"

namespace Lattix {

int CEnumCompare::Compare(const CCellData& a, const CCellData& b) const
{
    return m_enum->Compare(a.GetInt(), b.GetInt());
}

std::unique_ptr<CCellCompare> CEnumCompare::Clone() const
{
    return std::make_unique<CEnumCompare>(m_enum.Get());
}

} // namespace Lattix
