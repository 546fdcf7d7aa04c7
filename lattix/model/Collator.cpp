#include "lattix/model/Collator.h"

#include <array>
#include <cstdlib>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>
#include <vector>

namespace Lattix {
namespace {

// "de_DE.UTF-8@euro" -> "de_DE": the part of a POSIX locale name that names the language
// and region.
std::string LanguageAndRegion(std::string_view name)
{
    const auto end = name.find_first_of(".@");
    return std::string(name.substr(0, end));
}

bool IsPlainLocale(std::string_view name)
{
    const std::string base = LanguageAndRegion(name);
    return base.empty() || base == "C" || base == "POSIX";
}

std::string UserCollationLocale()
{
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

// Case-folded text, ordered by code point: UTF-8 bytes compare in code point order.
void PlainKey(std::string_view text, std::string& key)
{
    key.clear();
    key.reserve(text.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = 0;
    while (i < length) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            key.push_back(static_cast<char>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b));
            ++i;
            continue;
        }
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            // Ill-formed: keep the bytes as they are.
            key.append(
                text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
            continue;
        }
        c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        std::array<std::uint8_t, U8_MAX_LENGTH> encoded{};
        std::int32_t n = 0;
        U8_APPEND_UNSAFE(encoded.data(), n, c);
        key.append(reinterpret_cast<const char*>(encoded.data()), static_cast<std::size_t>(n));
    }
}

} // namespace

CCollator::CCollator(std::string_view localeName) : m_strLocale(localeName)
{
    if (IsPlainLocale(localeName))
        return;
    UErrorCode status = U_ZERO_ERROR;
    // An unknown locale falls back to the root rules, which suit most languages.
    UCollator* collator = ucol_open(LanguageAndRegion(localeName).c_str(), &status);
    if (U_FAILURE(status)) {
        if (collator != nullptr)
            ucol_close(collator);
        return;
    }
    ucol_setStrength(collator, UCOL_SECONDARY);
    m_pCollator = collator;
}

CCollator::~CCollator()
{
    if (m_pCollator != nullptr)
        ucol_close(m_pCollator);
}

const CCollator& CCollator::User()
{
    static thread_local const CCollator collator(UserCollationLocale());
    return collator;
}

void CCollator::SortKey(std::string_view text, std::string& key) const
{
    if (m_pCollator == nullptr) {
        PlainKey(text, key);
        return;
    }

    // UTF-16 for the collator; short texts (names, maps) stay on the stack.
    std::array<UChar, 256> smallText{};
    std::vector<UChar> largeText;
    UChar* utf16 = smallText.data();
    std::int32_t capacity = static_cast<std::int32_t>(smallText.size());
    std::int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(utf16, capacity, &length, text.data(),
                         static_cast<std::int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        largeText.resize(static_cast<std::size_t>(length) + 1);
        utf16 = largeText.data();
        capacity = static_cast<std::int32_t>(largeText.size());
        status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(utf16, capacity, &length, text.data(),
                             static_cast<std::int32_t>(text.size()), 0xFFFD, nullptr, &status);
    }
    if (U_FAILURE(status)) {
        PlainKey(text, key);
        return;
    }

    // The key ends with a zero byte, which is the only zero in it: it is left out, so that
    // keys compare as std::string does. Short keys are made on the stack, so that a key
    // that fits in the string itself costs no allocation.
    std::array<std::uint8_t, 256> smallKey{};
    std::int32_t needed = ucol_getSortKey(m_pCollator, utf16, length, smallKey.data(),
                                          static_cast<std::int32_t>(smallKey.size()));
    if (needed <= static_cast<std::int32_t>(smallKey.size())) {
        key.assign(reinterpret_cast<const char*>(smallKey.data()),
                   needed > 0 ? static_cast<std::size_t>(needed) - 1 : 0);
        return;
    }
    key.resize(static_cast<std::size_t>(needed));
    needed =
        ucol_getSortKey(m_pCollator, utf16, length, reinterpret_cast<std::uint8_t*>(key.data()),
                        static_cast<std::int32_t>(key.size()));
    key.resize(needed > 0 ? static_cast<std::size_t>(needed) - 1 : 0);
}

std::string CCollator::SortKey(std::string_view text) const
{
    std::string key;
    SortKey(text, key);
    return key;
}

int CCollator::Compare(std::string_view a, std::string_view b) const
{
    return CompareKeys(SortKey(a), SortKey(b));
}

} // namespace Lattix
