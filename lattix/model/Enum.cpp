#include "lattix/model/Enum.h"

#include "lattix/model/TableInterface.h"

#include <algorithm>
#include <cassert>
#include <limits>

namespace Lattix {
namespace {

int Next(int last)
{
    return last == std::numeric_limits<int>::max() ? last : last + 1;
}

} // namespace

// CInternalEnum

void CEnum::CInternalEnum::AddRef()
{
    ++m_nRefs;
}

void CEnum::CInternalEnum::Release()
{
    assert(m_nRefs > 0 && "released more often than referenced");
    if (--m_nRefs <= 0)
        delete this;
}

void CEnum::CInternalEnum::AddEntry(int value, std::string text, std::string tip, int image,
                                    int order)
{
    const CEnumEntry* last = m_entries.empty() ? nullptr : &m_entries.back();
    if (value == -1)
        value = last != nullptr ? Next(last->nValue) : 0;
    if (image == -1)
        image = last != nullptr ? Next(last->item.nImage) : 0;
    if (order == -1)
        order = last != nullptr ? Next(last->item.nOrder) : 0;
    m_entries.push_back(
        CEnumEntry{value, CEnumItem{std::move(text), std::move(tip), image, order}});
    m_bSorted = false;
}

const CEnumItem& CEnum::CInternalEnum::Lookup(int value)
{
    if (m_entries.size() > kLinearLookupMax) {
        if (!m_bSorted) {
            // Stable, so that of duplicate values the first added is found.
            std::stable_sort(
                m_entries.begin(), m_entries.end(),
                [](const CEnumEntry& a, const CEnumEntry& b) { return a.nValue < b.nValue; });
            m_bSorted = true;
        }
        const auto it =
            std::partition_point(m_entries.begin(), m_entries.end(),
                                 [value](const CEnumEntry& e) { return e.nValue < value; });
        return it != m_entries.end() && it->nValue == value ? it->item : m_default;
    }
    for (const CEnumEntry& entry : m_entries) {
        if (entry.nValue == value)
            return entry.item;
    }
    return m_default;
}

int CEnum::CInternalEnum::Compare(int a, int b)
{
    const long long orderB = Lookup(b).nOrder;
    const long long orderA = Lookup(a).nOrder;
    // The difference itself, held within int.
    return static_cast<int>(std::clamp<long long>(orderA - orderB, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

void CEnum::CInternalEnum::FillTable(CTableInterface& table)
{
    if (table.GetColumnCount() < 1)
        return;
    for (const CEnumEntry& entry : m_entries)
        table.AddRow()->GetCell(0)->Set(entry.nValue);
}

bool CEnum::CInternalEnum::LoadImages(const QImage& strip, int imageWidth, ColorWord maskColor)
{
    return m_imageList.Load(strip, imageWidth, maskColor);
}

bool CEnum::CInternalEnum::LoadImages(const QString& path, int imageWidth, ColorWord maskColor)
{
    return m_imageList.Load(path, imageWidth, maskColor);
}

bool CEnum::CInternalEnum::LoadImages(unsigned bitmapId, int imageWidth, ColorWord maskColor)
{
    if (bitmapId == 0) {
        m_imageList.Clear();
        return false;
    }
    return LoadImages(QStringLiteral(":/bitmap/%1").arg(bitmapId), imageWidth, maskColor);
}

// CEnum

CEnum::CEnum(std::string_view text, EntriesOnly) : m_pEnum(new CInternalEnum)
{
    m_pEnum->AddRef();
    try {
        for (;;) {
            const auto end = text.find('\n');
            m_pEnum->AddEntry(-1, std::string(text.substr(0, end)));
            if (end == std::string_view::npos)
                break;
            text.remove_prefix(end + 1);
        }
    } catch (...) {
        m_pEnum->Release();
        throw;
    }
}

CEnum::CEnum(std::string_view text, unsigned bitmapId, int imageWidth, ColorWord maskColor)
    : CEnum(text, EntriesOnly{})
{
    if (bitmapId != 0)
        m_pEnum->LoadImages(bitmapId, imageWidth, maskColor);
}

CEnum::CEnum(std::string_view text, const QImage& strip, int imageWidth, ColorWord maskColor)
    : CEnum(text, EntriesOnly{})
{
    m_pEnum->LoadImages(strip, imageWidth, maskColor);
}

CEnum::CEnum(const CEnum& other) : m_pEnum(other.m_pEnum)
{
    m_pEnum->AddRef();
}

CEnum& CEnum::operator=(const CEnum& other)
{
    other.m_pEnum->AddRef();
    m_pEnum->Release();
    m_pEnum = other.m_pEnum;
    return *this;
}

CEnum::~CEnum()
{
    m_pEnum->Release();
}

} // namespace Lattix
