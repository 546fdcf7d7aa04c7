#pragma once

#include <QObject>

class CResultLists;
class CScanBridge;
class CScanStatus;
class QPushButton;

// Ending a scan before its last server: the "Stop" button, enabled while a scan runs, and
// Escape on the window. A stop keeps the rows found so far, sorts both lists, empties the
// progress and says on the status line how far the scan came. A new query ends the running
// scan through Halt, which says nothing.
class CScanStop : public QObject
{
    Q_OBJECT

public:
    CScanStop(QPushButton& button, CScanBridge& bridge, CScanStatus& status, CResultLists& lists);

    // A scan started: the button can stop it.
    void Started();
    // Ends a running scan (up to 5 s for its worker) without a word; the button is
    // disabled. False when a scan still runs.
    bool Halt();
    // The user's stop: ends a running scan as Halt does, sorts the lists and says how far it
    // came; Stopped follows. False, and nothing changes, when no scan runs.
    bool Stop();

signals:
    void Stopped();

private:
    QPushButton& m_button;
    CScanBridge& m_bridge;
    CScanStatus& m_status;
    CResultLists& m_lists;
};
