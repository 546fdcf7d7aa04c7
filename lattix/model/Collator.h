#pragma once

#include <string>
#include <string_view>

struct UCollator;

namespace Lattix {

// Orders UTF-8 texts the way a locale collates them, ignoring letter case: "apple" comes
// before "Banana" and "Map" equals "map". The order is given by sort keys, byte strings
// that compare as the texts collate, so that a sort compares each text's key instead of
// running the collation algorithm once per comparison.
//
// The C and POSIX locales (and C.UTF-8) order by code point after Unicode case folding;
// every other locale uses its collation rules at the secondary strength (accents count,
// letter case does not). Ill-formed UTF-8 is ordered as U+FFFD under locale rules, and by
// its bytes in the C locale.
//
// A collator is not for concurrent use from several threads.
class CCollator
{
public:
    // localeName as the environment writes it ("de_DE.UTF-8", "sv_SE", "C").
    explicit CCollator(std::string_view localeName);
    ~CCollator();

    CCollator(const CCollator&) = delete;
    CCollator& operator=(const CCollator&) = delete;

    // The collator of the user's locale (LC_ALL, LC_COLLATE, LANG), one per thread, made
    // the first time the thread asks for it.
    static const CCollator& User();

    // True when texts are ordered by case-folded code points (the C locale).
    bool IsPlain() const { return m_pCollator == nullptr; }
    const std::string& LocaleName() const { return m_strLocale; }

    // Replaces key with the sort key of text.
    void SortKey(std::string_view text, std::string& key) const;
    std::string SortKey(std::string_view text) const;

    // -1, 0 or 1 as a sorts before, with or after b.
    int Compare(std::string_view a, std::string_view b) const;

    // -1, 0 or 1 for two sort keys.
    static int CompareKeys(std::string_view a, std::string_view b)
    {
        const int c = a.compare(b);
        return (c > 0) - (c < 0);
    }

private:
    std::string m_strLocale;
    UCollator* m_pCollator = nullptr;
};

} // namespace Lattix
