#pragma once

namespace Lattix {

// The strip of small images that an enumeration can show beside its texts. Loading
// images belongs to the grid control; until it does, every list is empty, and renderers
// draw no image for an entry whatever its image index says.
class CImageList
{
public:
    bool IsEmpty() const noexcept { return GetImageCount() == 0; }
    int GetImageCount() const noexcept { return 0; }
};

} // namespace Lattix
