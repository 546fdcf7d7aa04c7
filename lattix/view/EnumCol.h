#pragma once

#include "lattix/model/AbstractEnum.h"
#include "lattix/view/ColDef.h"

namespace Lattix {

// An enumeration column: integer cells ordered by the enumeration's sort keys and drawn
// as its entries (CEnumOut modes). Holds a counted reference on the enumeration, as do
// the comparer and renderer it creates.
class CEnumCol : public CColDef
{
public:
    // Flags kDefaultFlags take the mode's default: centred for image only, else left.
    static constexpr std::uint32_t kDefaultFlags = 0xFFFFFFFF;

    CEnumCol(CAbstractEnum* enumeration, int mode, std::uint32_t flags = kDefaultFlags);

    std::unique_ptr<CCellFactory> CreateFactory() const override;
    std::unique_ptr<CCellCompare> CreateCompare() const override;
    std::unique_ptr<CCellOutput> CreateOutput() const override;
    // A combo table of the enumeration's entries (CEnumIn).
    std::unique_ptr<CCellInput> CreateInput() const override;

    CAbstractEnum* GetEnum() const { return m_pEnum.Get(); }
    int GetMode() const { return m_nMode; }
    std::uint32_t GetFlags() const { return m_nFlags; }

private:
    CEnumRef m_pEnum;
    int m_nMode;
    std::uint32_t m_nFlags;
};

} // namespace Lattix
