#include "lattix/view/PasswordCol.h"

#include "lattix/view/PasswordOut.h"

namespace Lattix {

std::unique_ptr<CCellOutput> CPasswordCol::CreateOutput() const
{
    return std::make_unique<CPasswordOut>(GetFlags(), GetFormat());
}

} // namespace Lattix
