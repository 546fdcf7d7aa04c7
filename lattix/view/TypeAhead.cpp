#include "lattix/view/TypeAhead.h"

namespace Lattix {

const std::string& CTypeAhead::Type(std::string_view text, std::int64_t now)
{
    Expire(now);
    m_strText += text;
    m_nLastKey = now;
    return m_strText;
}

bool CTypeAhead::Expire(std::int64_t now)
{
    if (m_strText.empty() || now - m_nLastKey < kExpiryMs)
        return false;
    m_strText.clear();
    return true;
}

} // namespace Lattix
