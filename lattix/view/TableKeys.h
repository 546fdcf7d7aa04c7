#pragma once

#include "lattix/view/TypeAhead.h"

#include <QString>
#include <QTimer>

#include <string>

class QKeyEvent;

namespace Lattix {

class CTableHost;

// The keyboard of a grid: the cursor keys, page keys, home, end and space move the cursor
// and the selection (or scroll, in row mode); typed text searches the first sorted column
// (else the first displayed one) for a row that starts with it; F2 edits the cursor's cell.
// Each key first goes to the grid's parent as NM_KEYDOWN, which may take it.
class CTableKeys
{
public:
    explicit CTableKeys(CTableHost& host);

    // A key press that reached the grid; false when the grid leaves it to its base class.
    bool KeyPress(const QKeyEvent& event);
    // A key as the grid handles it (virtual-key number, Qt modifiers).
    void HandleKey(unsigned vkey, Qt::KeyboardModifiers modifiers);
    // Extends the type-ahead text by text and moves to the first row that starts with it;
    // beeps when none does. The text expires CTypeAhead::kExpiryMs after the last key.
    void TypeAhead(const QString& text);
    const std::string& GetTypeAheadText() const { return m_typeAhead.Text(); }

private:
    // Lets the type-ahead text run out; the busy cursor goes with it.
    void Tick();

    CTableHost& m_host;
    CTypeAhead m_typeAhead;
    QTimer m_timer;
};

} // namespace Lattix
