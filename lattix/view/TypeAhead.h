#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Lattix {

class CTableCtrlInterface;

// The text typed for a type-ahead search. Each key extends it; a pause of kExpiryMs or
// more after the last key drops it, so the next key starts a new text. Times are
// milliseconds of any monotonic clock.
class CTypeAhead
{
public:
    static constexpr std::int64_t kExpiryMs = 1200;

    // Appends text typed at now and returns the whole text to search for.
    const std::string& Type(std::string_view text, std::int64_t now);
    // Drops the text once it has expired at now; true when it was dropped by this call.
    bool Expire(std::int64_t now);
    void Clear() { m_strText.clear(); }

    const std::string& Text() const { return m_strText; }
    // The first row after `after` (wrapping round, `after` itself last or never) whose
    // text in the valid column col starts with prefix, compared without letter case by the
    // user's collation; -1 when none.
    static int FindRow(const CTableCtrlInterface& table, int col, const std::string& prefix,
                       int after);
    bool IsActive() const { return !m_strText.empty(); }

private:
    std::string m_strText;
    std::int64_t m_nLastKey = 0;
};

} // namespace Lattix
