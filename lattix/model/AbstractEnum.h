#pragma once

#include "lattix/model/ImageList.h"

#include <string>
#include <utility>

namespace Lattix {

class CTableInterface;

// What an enumeration tells about one value.
struct CEnumItem
{
    std::string strText; // shown in the cell
    std::string strTip;  // the cell's tooltip when not empty
    int nImage = -1;     // index into the enumeration's image list, -1 for none
    int nOrder = 0;      // sort key of the value

    friend bool operator==(const CEnumItem&, const CEnumItem&) = default;
};

// One entry of an enumeration: a cell value and what it shows.
struct CEnumEntry
{
    int nValue = 0;
    CEnumItem item;
};

// Maps the integer values of a column to texts, tooltips, images and a sort order. An
// enumeration is shared by counted reference between everything that uses it (a column
// definition, its comparer, renderer and editor); hold it through CEnumRef. It is
// deleted only through Release.
class CAbstractEnum
{
public:
    CAbstractEnum(const CAbstractEnum&) = delete;
    CAbstractEnum& operator=(const CAbstractEnum&) = delete;

    // Counted references; an enumeration that is not counted does nothing here.
    virtual void AddRef() {}
    virtual void Release() {}
    // What the value shows; a value without an entry gives the default item ("#Error#").
    // The item stays valid while the enumeration is not changed.
    virtual const CEnumItem& Lookup(int value) = 0;
    // The sort key of a minus that of b: negative, zero or positive.
    virtual int Compare(int a, int b) = 0;
    // Adds one row per entry to table, the entry's value in column 0 (an integer column).
    virtual void FillTable(CTableInterface& table) = 0;

    const CImageList& GetImageList() const { return m_imageList; }

protected:
    CAbstractEnum() = default;
    virtual ~CAbstractEnum() = default;

    CImageList m_imageList;
};

// A counted reference to an enumeration.
class CEnumRef
{
public:
    CEnumRef() = default;
    explicit CEnumRef(CAbstractEnum* e) : m_p(e)
    {
        if (m_p != nullptr)
            m_p->AddRef();
    }
    CEnumRef(const CEnumRef& other) : CEnumRef(other.m_p) {}
    CEnumRef(CEnumRef&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CEnumRef& operator=(CEnumRef other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~CEnumRef()
    {
        if (m_p != nullptr)
            m_p->Release();
    }

    CAbstractEnum* Get() const { return m_p; }
    CAbstractEnum* operator->() const { return m_p; }
    CAbstractEnum& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    CAbstractEnum* m_p = nullptr;
};

} // namespace Lattix
