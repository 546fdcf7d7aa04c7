#pragma once

#include "lattix/model/DateTime.h"

#include <cstdint>
#include <string>
#include <utility>

namespace Lattix {

// One cell of a grid: a small polymorphic value. A column holds cells of one kind only.
// Cells live inside the row records of a table, which constructs them from the column's
// prototype cell (CopyConstructAt) and destroys them in place.
//
// A kind answers the setters and getters that make sense for it and inherits the base
// behaviour for the others: a setter that does not apply is ignored, a getter that does
// not apply answers 0, false, null or empty. All orderings derive from one three-way
// comparison (CompareTo); a kind may override operator< alone, and then CompareTo asks
// it twice. Assigning and comparing cells of different kinds is defined: the kind of the
// receiving or left cell reads the other through GetInt (integers and booleans) or
// GetString (texts).
class CCellData
{
public:
    virtual ~CCellData() = default;

    virtual void Set(const CDateTime& value);
    virtual void Set(std::string value);
    // A null pointer sets the empty text.
    virtual void Set(const char* text);
    virtual void Set(char value);
    virtual void Set(double value);
    virtual void Set(std::int64_t value);
    virtual void Set(int value);
    virtual void Set(bool value);
    // Copies the value of source, a cell of the same kind.
    virtual void Assign(const CCellData& source) = 0;

    virtual bool GetBool() const;
    virtual int GetInt() const;
    virtual std::int64_t GetInt64() const;
    virtual double GetDouble() const;
    virtual char GetChar() const;
    // Null unless the cell holds text.
    virtual const char* GetCharPtr() const;
    virtual std::string GetString() const;
    // Status Null unless the cell holds a date.
    virtual CDateTime GetDateTime() const;

    virtual bool operator<(const CCellData& other) const = 0;
    // Negative, zero or positive as this cell sorts before, with or after other.
    virtual int CompareTo(const CCellData& other) const;

    bool operator<=(const CCellData& other) const { return CompareTo(other) <= 0; }
    bool operator>(const CCellData& other) const { return CompareTo(other) > 0; }
    bool operator>=(const CCellData& other) const { return CompareTo(other) >= 0; }
    bool operator==(const CCellData& other) const { return CompareTo(other) == 0; }
    bool operator!=(const CCellData& other) const { return CompareTo(other) != 0; }

    // False when the table may skip the destructor of this kind of cell.
    virtual bool NeedsDestruction() const;

    // Constructs a copy of this cell in storage (suitably aligned, of the kind's size) and
    // returns it.
    virtual CCellData* CopyConstructAt(void* storage) const = 0;

protected:
    CCellData() = default;
    CCellData(const CCellData&) = default;
    CCellData& operator=(const CCellData&) = default;
};

// An integer cell.
class CDInt : public CCellData
{
public:
    CDInt() = default;
    explicit CDInt(int value) : m_nValue(value) {}

    using CCellData::Set;
    // Truncated toward zero; values beyond the range of int saturate, NaN gives 0.
    void Set(double value) override;
    void Set(int value) override { m_nValue = value; }
    void Assign(const CCellData& source) override;

    int GetInt() const override { return m_nValue; }

    bool operator<(const CCellData& other) const override;
    int CompareTo(const CCellData& other) const override;

    CCellData* CopyConstructAt(void* storage) const override;

    int m_nValue = 0;
};

// A boolean cell.
class CDBool : public CCellData
{
public:
    CDBool() = default;
    explicit CDBool(bool value) : m_bValue(value) {}

    using CCellData::Set;
    void Set(int value) override { m_bValue = value != 0; }
    void Set(bool value) override { m_bValue = value; }
    void Assign(const CCellData& source) override;

    bool GetBool() const override { return m_bValue; }
    int GetInt() const override { return m_bValue ? 1 : 0; }

    bool operator<(const CCellData& other) const override;
    int CompareTo(const CCellData& other) const override;

    CCellData* CopyConstructAt(void* storage) const override;

    bool m_bValue = false;
};

// A text cell (UTF-8). It orders by the user's collation, ignoring letter case, through a
// sort key that it makes the first time it is compared and keeps until its text changes.
class CDString : public CCellData
{
public:
    CDString() = default;
    explicit CDString(std::string value) : m_strValue(std::move(value)) {}

    using CCellData::Set;
    void Set(std::string value) override;
    void Set(const char* text) override;
    void Assign(const CCellData& source) override;

    // Never null: the empty text for an empty cell.
    const char* GetCharPtr() const override { return m_strValue.c_str(); }
    std::string GetString() const override { return m_strValue; }

    bool operator<(const CCellData& other) const override;
    int CompareTo(const CCellData& other) const override;

    bool NeedsDestruction() const override { return true; }
    CCellData* CopyConstructAt(void* storage) const override;

    // The text without a copy.
    const std::string& Text() const noexcept { return m_strValue; }
    // The collation key of the text.
    const std::string& SortKey() const;

private:
    std::string m_strValue;
    mutable std::string m_strKey;
    mutable bool m_bKeyValid = false;
};

} // namespace Lattix
