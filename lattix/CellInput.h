#pragma once

namespace Lattix {

// The in-place editor of a column. Editing arrives with its own classes; until then no
// column definition creates one (CColDef::CreateInput returns null), and a column record
// holds an empty editor pointer.
class CCellInput
{
public:
    virtual ~CCellInput() = default;

    CCellInput(const CCellInput&) = delete;
    CCellInput& operator=(const CCellInput&) = delete;

protected:
    CCellInput() = default;
};

} // namespace Lattix
