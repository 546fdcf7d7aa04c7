#pragma once

namespace Lattix {

// The busy cursor for as long as it lives: while a grid sorts or sizes its columns.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace Lattix
