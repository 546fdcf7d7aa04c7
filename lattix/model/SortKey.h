#pragma once

namespace Lattix {

// One key of a sort order: a column and its direction. A sort order is a sequence of
// keys, the most significant first.
struct CSortKey
{
    int nColumn = 0;
    bool bDescending = false;

    friend bool operator==(const CSortKey&, const CSortKey&) = default;
};

} // namespace Lattix
