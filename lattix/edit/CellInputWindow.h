#pragma once

#include "lattix/edit/CellInput.h"

#include <QEvent>
#include <QWidget>

#include <utility>

namespace Lattix {

// An editor window: the window class Base (a QWidget) with the editor interface mixed in.
// Its events pass the edit controller first (the keys that end or move an edit, also
// inside a dialog) and tell it of focus changes; Tab never moves the focus out of it. The
// window starts hidden and without a parent.
template <class Base>
class CCellInputWindow : public Base, public CCellInput
{
public:
    template <class... Args>
    explicit CCellInputWindow(Args&&... args) : Base(std::forward<Args>(args)...)
    {
        this->hide();
    }

    QWidget& Window() override { return *this; }

protected:
    bool event(QEvent* event) override
    {
        if (FilterEditorEvent(*event))
            return true;
        const bool result = Base::event(event);
        AfterEditorEvent(*event);
        return result;
    }
    bool focusNextPrevChild(bool) override { return false; }
};

} // namespace Lattix
