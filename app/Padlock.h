#pragma once

#include <QImage>

// The lock that marks a server asking for a password: a closed padlock, drawn rather than
// taken from a font, so that it looks the same wherever the program runs.
class CPadlock
{
public:
    // Two images of size x size pixels side by side, drawn at double density: none (left,
    // for a server without password) and the padlock (right).
    static QImage Strip(int size = 16);
};
