#pragma once

#include "lattix/model/CellData.h"

#include <cstddef>
#include <memory>
#include <type_traits>

namespace Lattix {

// Knows the cells of one column: their size and alignment inside a row record, and the
// prototype from which the table constructs every cell of the column.
class CCellFactory
{
public:
    virtual ~CCellFactory() = default;

    virtual std::size_t GetCellSize() const = 0;
    virtual std::size_t GetCellAlign() const = 0;
    // The prototype, owned by the factory. A table copies it when it lays out its rows, so
    // a later change of the prototype reaches only tables laid out after it.
    virtual CCellData* GetPrototype() = 0;
    virtual const CCellData* GetPrototype() const = 0;
    // A new factory of the same kind with a freshly constructed prototype.
    virtual std::unique_ptr<CCellFactory> Clone() const = 0;

protected:
    CCellFactory() = default;
    CCellFactory(const CCellFactory&) = default;
    CCellFactory& operator=(const CCellFactory&) = default;
};

// The factory of the cell kind T.
template <class T>
class CFAny final : public CCellFactory
{
    static_assert(std::is_base_of_v<CCellData, T>, "a cell kind derives from CCellData");
    static_assert(std::is_default_constructible_v<T>, "a cell kind has a default value");

public:
    std::size_t GetCellSize() const override { return sizeof(T); }
    std::size_t GetCellAlign() const override { return alignof(T); }
    T* GetPrototype() override { return &m_prototype; }
    const T* GetPrototype() const override { return &m_prototype; }
    std::unique_ptr<CCellFactory> Clone() const override { return std::make_unique<CFAny<T>>(); }

private:
    T m_prototype;
};

} // namespace Lattix
