#pragma once

#include <cstdint>
#include <string>

class CPopupMenu;
class QWidget;

namespace Lattix {

class CCellData;
class CTableCtrl;

// Notification codes that a grid sends to its notification target.
enum : int
{
    NM_CLICK = -2,
    NM_DBLCLK = -3,
    NM_SETFOCUS = -7,
    NM_KILLFOCUS = -8,
    NM_KEYDOWN = -15,
    NM_RELEASEDCAPTURE = -16,
    LVN_BEGINLABELEDIT = -105,
    LVN_ENDLABELEDIT = -106,
    LXN_GETCELLTIP = -157,
    LXN_ROWCHANGING = -2000,
    LXN_ROWCHANGED = -2001,
    LXN_SORTCHANGING = -2004,
    LXN_SORTED = -2005,
    LXN_BODYMENU = -2006,
    LXN_HEADERMENU = -2007,
    LXN_BODYCOMMAND = -2008,
    LXN_HEADERCOMMAND = -2009,
    LXN_EDITCANCELLED = -2012,
    LXN_APPENDROW = -2013,
    LXN_GETHEADERTIP = -2015,
    LXN_GETFOOTERTIP = -2016,
    LXN_CELLCHANGED = -2019,
    LXN_ENUMEDITOPEN = -2101,
    LXN_CHECKCLICKED = -2102,
    LXN_ENUMSELCHANGE = -2103,
};

// Key states of a mouse or key action, as the selection reads them.
enum : unsigned
{
    MK_SHIFT = 4,
    MK_CONTROL = 8,
};

// Who sent a notification and what it is.
struct NMHDR
{
    QWidget* hwndFrom = nullptr;
    std::intptr_t idFrom = 0;
    int code = 0;
};

// The record of every grid notification except NM_KEYDOWN.
struct NMTABLECTRL
{
    NMHDR hdr;
    int nRow = -1;
    int nColumn = -1;
    // The proposed tooltip of the tooltip notifications; the recipient may change it.
    std::string strText;
    // The chosen command of LXN_BODYCOMMAND and LXN_HEADERCOMMAND.
    int nCommand = 0;
    // The menu being built for LXN_BODYMENU and LXN_HEADERMENU, else null.
    CPopupMenu* pMenu = nullptr;
    // Mouse position in control coordinates for NM_CLICK and NM_DBLCLK; both 1 for an
    // LVN_BEGINLABELEDIT that the user started; else -1.
    int nX = -1;
    int nY = -1;
    // GetItemData of the row whenever the row is not negative, else -1.
    int nItemData = -1;
    int nExtra = 0;
    CTableCtrl* pCtrl = nullptr;
    // Editing notifications: the scratch cell with the value being shown, committed or
    // discarded (owned by the sender, valid during the call), and the editor's parameter
    // of the notifications that an open editor sends (the editor for the enumeration ones).
    CCellData* pCell = nullptr;
    void* pParam = nullptr;
};

// The record of NM_KEYDOWN: the key as a virtual-key number and the key flags (bit 8:
// extended key, bit 14: the key was already down).
struct NMKEY
{
    NMHDR hdr;
    unsigned nVKey = 0;
    unsigned uFlags = 0;
};

// Implemented by whoever receives a grid's notifications: the target set on the grid, or
// else its parent widget. A non-zero result means what each code documents (cancel, do
// not show, handled).
class CNotifyTarget
{
public:
    virtual std::intptr_t OnNotify(NMTABLECTRL& notification) = 0;
    // NM_KEYDOWN, which goes to the parent widget even when the grid has a target of its
    // own; non-zero leaves the key unhandled by the grid.
    virtual std::intptr_t OnKeyNotify(NMKEY& /*notification*/) { return 0; }

protected:
    ~CNotifyTarget() = default;
};

} // namespace Lattix
