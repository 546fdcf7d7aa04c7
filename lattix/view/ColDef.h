#pragma once

#include "lattix/edit/CellInput.h"
#include "lattix/model/CellCompare.h"
#include "lattix/model/CellFactory.h"
#include "lattix/view/CellOutput.h"

#include <memory>

namespace Lattix {

// The recipe for one grid column. A control asks it, when a column is added, for the
// cell factory and comparer (which go to the table) and for the renderer and editor
// (which stay with the control). Every product is independent of the definition and of
// the other products, so one definition may serve several columns and grids and may be
// destroyed as soon as the column exists.
class CColDef
{
public:
    virtual ~CColDef() = default;

    virtual std::unique_ptr<CCellFactory> CreateFactory() const = 0;
    virtual std::unique_ptr<CCellCompare> CreateCompare() const = 0;
    virtual std::unique_ptr<CCellOutput> CreateOutput() const = 0;
    // The column's in-place editor, or null for a column that cannot be edited.
    virtual std::unique_ptr<CCellInput> CreateInput() const { return nullptr; }

protected:
    CColDef() = default;
    CColDef(const CColDef&) = default;
    CColDef& operator=(const CColDef&) = default;
};

} // namespace Lattix
