#pragma once

#include "format/IntFormat.h"
#include "lattix/view/ColDef.h"

namespace Lattix {

// An integer column: integer cells in their own order, drawn with an integer format that
// colours negative numbers (red by default), has no decimals and no special value.
class CIntCol : public CColDef
{
public:
    explicit CIntCol(std::uint32_t flags);

    std::unique_ptr<CCellFactory> CreateFactory() const override;
    std::unique_ptr<CCellCompare> CreateCompare() const override;
    std::unique_ptr<CCellOutput> CreateOutput() const override;
    std::unique_ptr<CCellInput> CreateInput() const override;

    std::uint32_t GetFlags() const { return m_nFlags; }
    // The format that new renderers copy.
    CIntFormat& GetFormat() { return m_format; }
    const CIntFormat& GetFormat() const { return m_format; }

private:
    std::uint32_t m_nFlags;
    CIntFormat m_format;
};

} // namespace Lattix
