#include "lattix/view/IntCol.h"

#include "lattix/edit/IntIn.h"

#include "lattix/view/IntOut.h"

namespace Lattix {

CIntCol::CIntCol(std::uint32_t flags) : m_nFlags(flags), m_format(true) {}

std::unique_ptr<CCellFactory> CIntCol::CreateFactory() const
{
    return std::make_unique<CFAny<CDInt>>();
}

std::unique_ptr<CCellCompare> CIntCol::CreateCompare() const
{
    return std::make_unique<CCellCompare>();
}

std::unique_ptr<CCellOutput> CIntCol::CreateOutput() const
{
    return std::make_unique<CIntOut>(m_nFlags, m_format);
}

std::unique_ptr<CCellInput> CIntCol::CreateInput() const
{
    return std::make_unique<CIntIn>();
}

} // namespace Lattix
