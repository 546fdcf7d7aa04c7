#pragma once

namespace Lattix {

// Virtual-key numbers of the keys that the grid handles; key notifications carry these
// numbers, so that a recipient reads the same values on every platform.
enum : unsigned
{
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_APPS = 0x5D,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
};

// The virtual-key number of a Qt key (Qt::Key), 0 for a key without one. Letters give
// their capital letter, digits their digit, F1 to F24 count up from VK_F1.
unsigned VirtualKeyFromQt(int qtKey);

} // namespace Lattix
