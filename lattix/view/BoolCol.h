#pragma once

#include "lattix/view/ColDef.h"

#include <array>
#include <string>

namespace Lattix {

// A boolean column: boolean cells drawn as the texts for true and false, or as check
// marks when glyphs (the texts then serve as tooltips).
class CBoolCol : public CColDef
{
public:
    CBoolCol(std::uint32_t flags, std::string trueText, std::string falseText, bool glyphs);

    std::unique_ptr<CCellFactory> CreateFactory() const override;
    std::unique_ptr<CCellCompare> CreateCompare() const override;
    std::unique_ptr<CCellOutput> CreateOutput() const override;
    std::unique_ptr<CCellInput> CreateInput() const override;

    std::uint32_t GetFlags() const { return m_nFlags; }
    bool HasGlyphs() const { return m_bGlyphs; }
    // Indexed by state: false, true, and an empty third state.
    const std::array<std::string, 3>& GetLabels() const { return m_strLabels; }

private:
    std::uint32_t m_nFlags;
    bool m_bGlyphs;
    std::array<std::string, 3> m_strLabels;
};

} // namespace Lattix
