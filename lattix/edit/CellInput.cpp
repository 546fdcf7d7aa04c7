#include "lattix/edit/CellInput.h"

#include "lattix/edit/CellEditController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace Lattix {

namespace {

// The keys that end or move an edit; a surrounding dialog must not take them.
bool IsCellInputEditKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

void CCellInput::SetOwner(QWidget* parent, CCellEditController* controller)
{
    m_pParent = parent;
    m_pController = controller;
}

void CCellInput::Destroy()
{
    QWidget& window = Window();
    window.hide();
    window.setParent(nullptr);
}

void CCellInput::SetFocus()
{
    Window().setFocus(Qt::OtherFocusReason);
}

void CCellInput::Move(const QRect& rect)
{
    Window().setGeometry(rect);
}

void CCellInput::ShowWindowAt(const QRect& rect)
{
    QWidget& window = Window();
    if (window.parentWidget() != m_pParent)
        window.setParent(m_pParent);
    Move(rect);
    window.show();
}

bool CCellInput::FilterEditorEvent(QEvent& event)
{
    if (!m_pController || !m_pController->IsEditing())
        return false;
    if (event.type() == QEvent::ShortcutOverride) {
        auto& key = static_cast<QKeyEvent&>(event);
        if (IsCellInputEditKey(key.key())) {
            key.accept();
            return true;
        }
        return false;
    }
    if (event.type() != QEvent::KeyPress)
        return false;
    auto& key = static_cast<QKeyEvent&>(event);
    if (m_pController->OnEditKey(key))
        return false;
    key.accept();
    return true;
}

void CCellInput::AfterEditorEvent(QEvent& event)
{
    if (!m_pController)
        return;
    if (event.type() == QEvent::KeyPress)
        event.accept();
    if (event.type() == QEvent::FocusIn)
        m_pController->OnEditorSetFocus(nullptr);
    else if (event.type() == QEvent::FocusOut)
        m_pController->OnEditorKillFocus(QApplication::focusWidget());
}

} // namespace Lattix
