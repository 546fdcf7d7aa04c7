#include "lattix/view/TypeAhead.h"

#include "lattix/model/Collator.h"
#include "lattix/view/TableCtrlInterface.h"

#include <algorithm>

namespace Lattix {

namespace {

// Number of code points in UTF-8 text.
std::size_t CodePoints(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The first n code points of UTF-8 text.
std::string_view LeadingCodePoints(std::string_view text, std::size_t n)
{
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (n == 0)
                break;
            --n;
        }
    }
    return text.substr(0, i);
}

} // namespace

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

int CTypeAhead::FindRow(const CTableCtrlInterface& table, int col, const std::string& prefix,
                        int after)
{
    const CCollator& collator = CCollator::User();
    const std::size_t length = CodePoints(prefix);
    const int count = table.GetRowCount();
    const auto matches = [&](int row) {
        const std::string text = table.GetCellText(row, col);
        return collator.Compare(LeadingCodePoints(text, length), prefix) == 0;
    };
    for (int row = std::max(after + 1, 0); row < count; ++row) {
        if (matches(row))
            return row;
    }
    for (int row = 0; row < std::min(after, count); ++row) {
        if (matches(row))
            return row;
    }
    return -1;
}

} // namespace Lattix
