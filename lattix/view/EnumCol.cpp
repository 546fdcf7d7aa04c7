#include "lattix/view/EnumCol.h"

#include "lattix/edit/EnumIn.h"
#include "lattix/model/EnumCompare.h"
#include "lattix/view/EnumOut.h"
#include "lattix/view/TextFlags.h"

namespace Lattix {

CEnumCol::CEnumCol(CAbstractEnum* enumeration, int mode, std::uint32_t flags)
    : m_pEnum(enumeration), m_nMode(mode), m_nFlags(flags)
{
    if (flags == kDefaultFlags)
        m_nFlags = mode == CEnumOut::ImageOnly ? TextFlags::kCentred : TextFlags::kLeft;
}

std::unique_ptr<CCellFactory> CEnumCol::CreateFactory() const
{
    return std::make_unique<CFAny<CDInt>>();
}

std::unique_ptr<CCellCompare> CEnumCol::CreateCompare() const
{
    return std::make_unique<CEnumCompare>(m_pEnum.Get());
}

std::unique_ptr<CCellOutput> CEnumCol::CreateOutput() const
{
    return std::make_unique<CEnumOut>(m_pEnum.Get(), m_nMode, m_nFlags);
}

std::unique_ptr<CCellInput> CEnumCol::CreateInput() const
{
    return std::make_unique<CEnumIn>(m_pEnum.Get(), m_nMode, m_nFlags);
}

} // namespace Lattix
