#include "lattix/model/CellData.h"

#include "lattix/model/Collator.h"
#include "lattix/model/LattixLibrary.h"

#include <cmath>
#include <limits>
#include <new>
#include <typeinfo>

namespace Lattix {
namespace {

[[maybe_unused]] const bool kCellDataRegistered = (RegisterLattixLibrary(), true);

int ThreeWay(int a, int b)
{
    return (a > b) - (a < b);
}

// The other cell as the kind K when it is exactly of that kind.
template <class K>
const K* SameKind(const CCellData& other)
{
    return typeid(other) == typeid(K) ? static_cast<const K*>(&other) : nullptr;
}

} // namespace

// The base: setters that do not apply are ignored, getters that do not apply answer
// nothing.

void CCellData::Set(const CDateTime&) {}
void CCellData::Set(std::string) {}
void CCellData::Set(const char*) {}
void CCellData::Set(char) {}
void CCellData::Set(double) {}
void CCellData::Set(std::int64_t) {}
void CCellData::Set(int) {}
void CCellData::Set(bool) {}

bool CCellData::GetBool() const
{
    return false;
}

int CCellData::GetInt() const
{
    return 0;
}

std::int64_t CCellData::GetInt64() const
{
    return 0;
}

double CCellData::GetDouble() const
{
    return 0.0;
}

char CCellData::GetChar() const
{
    return 0;
}

const char* CCellData::GetCharPtr() const
{
    return nullptr;
}

std::string CCellData::GetString() const
{
    return {};
}

CDateTime CCellData::GetDateTime() const
{
    return CDateTime{0.0, CDateTime::Null};
}

int CCellData::CompareTo(const CCellData& other) const
{
    if (*this < other)
        return -1;
    return other < *this ? 1 : 0;
}

bool CCellData::NeedsDestruction() const
{
    return false;
}

// CDInt

void CDInt::Set(double value)
{
    if (std::isnan(value)) {
        m_nValue = 0;
        return;
    }
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    const double truncated = std::trunc(value);
    if (truncated <= lowest)
        m_nValue = std::numeric_limits<int>::min();
    else if (truncated >= highest)
        m_nValue = std::numeric_limits<int>::max();
    else
        m_nValue = static_cast<int>(truncated);
}

void CDInt::Assign(const CCellData& source)
{
    const CDInt* same = SameKind<CDInt>(source);
    m_nValue = same != nullptr ? same->m_nValue : source.GetInt();
}

bool CDInt::operator<(const CCellData& other) const
{
    return CompareTo(other) < 0;
}

int CDInt::CompareTo(const CCellData& other) const
{
    const CDInt* same = SameKind<CDInt>(other);
    return ThreeWay(m_nValue, same != nullptr ? same->m_nValue : other.GetInt());
}

CCellData* CDInt::CopyConstructAt(void* storage) const
{
    return ::new (storage) CDInt(*this);
}

// CDBool

void CDBool::Assign(const CCellData& source)
{
    const CDBool* same = SameKind<CDBool>(source);
    m_bValue = same != nullptr ? same->m_bValue : source.GetInt() != 0;
}

bool CDBool::operator<(const CCellData& other) const
{
    return CompareTo(other) < 0;
}

int CDBool::CompareTo(const CCellData& other) const
{
    const CDBool* same = SameKind<CDBool>(other);
    const bool value = same != nullptr ? same->m_bValue : other.GetInt() != 0;
    return ThreeWay(m_bValue ? 1 : 0, value ? 1 : 0);
}

CCellData* CDBool::CopyConstructAt(void* storage) const
{
    return ::new (storage) CDBool(*this);
}

// CDString

void CDString::Set(std::string value)
{
    m_strValue = std::move(value);
    m_bKeyValid = false;
}

void CDString::Set(const char* text)
{
    if (text != nullptr)
        m_strValue.assign(text);
    else
        m_strValue.clear();
    m_bKeyValid = false;
}

void CDString::Assign(const CCellData& source)
{
    if (&source == this)
        return;
    if (const CDString* same = SameKind<CDString>(source)) {
        m_strValue = same->m_strValue;
        // The key goes with the text, so that copied rows need no new keys.
        m_bKeyValid = same->m_bKeyValid;
        if (m_bKeyValid)
            m_strKey = same->m_strKey;
        return;
    }
    Set(source.GetString());
}

const std::string& CDString::SortKey() const
{
    if (!m_bKeyValid) {
        CCollator::User().SortKey(m_strValue, m_strKey);
        m_bKeyValid = true;
    }
    return m_strKey;
}

bool CDString::operator<(const CCellData& other) const
{
    return CompareTo(other) < 0;
}

int CDString::CompareTo(const CCellData& other) const
{
    if (const CDString* same = SameKind<CDString>(other))
        return CCollator::CompareKeys(SortKey(), same->SortKey());
    return CCollator::CompareKeys(SortKey(), CCollator::User().SortKey(other.GetString()));
}

CCellData* CDString::CopyConstructAt(void* storage) const
{
    return ::new (storage) CDString(*this);
}

} // namespace Lattix
