#pragma once

#include "format/Format.h"
#include "lattix/view/ColDef.h"

namespace Lattix {

// A text column: text cells in the user's collation order, drawn with a plain format
// (special text off: empty texts show as empty).
class CStringCol : public CColDef
{
public:
    explicit CStringCol(std::uint32_t flags);

    std::unique_ptr<CCellFactory> CreateFactory() const override;
    std::unique_ptr<CCellCompare> CreateCompare() const override;
    std::unique_ptr<CCellOutput> CreateOutput() const override;
    std::unique_ptr<CCellInput> CreateInput() const override;

    std::uint32_t GetFlags() const { return m_nFlags; }
    // The format that new renderers copy.
    CFormat& GetFormat() { return m_format; }
    const CFormat& GetFormat() const { return m_format; }

private:
    std::uint32_t m_nFlags;
    CFormat m_format;
};

} // namespace Lattix
