#include "lattix/view/BoolCol.h"

#include "lattix/edit/ThreeStateIn.h"

#include "lattix/view/ThreeStateOut.h"

#include <utility>

namespace Lattix {

CBoolCol::CBoolCol(std::uint32_t flags, std::string trueText, std::string falseText, bool glyphs)
    : m_nFlags(flags),
      m_bGlyphs(glyphs), m_strLabels{std::move(falseText), std::move(trueText), std::string()}
{
}

std::unique_ptr<CCellFactory> CBoolCol::CreateFactory() const
{
    return std::make_unique<CFAny<CDBool>>();
}

std::unique_ptr<CCellCompare> CBoolCol::CreateCompare() const
{
    return std::make_unique<CCellCompare>();
}

std::unique_ptr<CCellOutput> CBoolCol::CreateOutput() const
{
    return std::make_unique<C3StateOut>(m_nFlags, m_strLabels, m_bGlyphs);
}

std::unique_ptr<CCellInput> CBoolCol::CreateInput() const
{
    return std::make_unique<C3StateIn>(m_nFlags, false);
}

} // namespace Lattix
