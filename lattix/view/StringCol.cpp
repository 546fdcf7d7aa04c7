#include "lattix/view/StringCol.h"

#include "lattix/edit/TextIn.h"

#include "lattix/view/StringOut.h"

namespace Lattix {

CStringCol::CStringCol(std::uint32_t flags) : m_nFlags(flags) {}

std::unique_ptr<CCellFactory> CStringCol::CreateFactory() const
{
    return std::make_unique<CFAny<CDString>>();
}

std::unique_ptr<CCellCompare> CStringCol::CreateCompare() const
{
    return std::make_unique<CCellCompare>();
}

std::unique_ptr<CCellOutput> CStringCol::CreateOutput() const
{
    return std::make_unique<CStringOut>(m_nFlags, m_format);
}

std::unique_ptr<CCellInput> CStringCol::CreateInput() const
{
    return std::make_unique<CTextIn>(0);
}

} // namespace Lattix
