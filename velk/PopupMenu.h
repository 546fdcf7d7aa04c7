#pragma once

#include <QPoint>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QWidget;

// A context menu built from one compact item string instead of one call per item, and
// shown with one call that returns the chosen command.
//
// Item string: items separated by ";". An item is either "-" (a separator) or a text,
// optionally preceded by any number of the prefixes "~" (disabled and greyed) and "="
// (checked), in any order; the prefixes are removed, and "&" marks the mnemonic as usual.
// The list ends at the first empty item, so a trailing ";" or ";;" ends it. The item at
// index i of the string (separators included) gets the command id firstId + i.
//
// Every item carries its command id; separators carry none (they are not commands, so
// lookups by command never land on one). Operations that take an `item` take a command id,
// or a zero-based position when their flags contain kByPosition. Lookups by command also
// search the submenus, and an item turned into a submenu keeps its command id.
//
// Needs a QApplication.
class CPopupMenu
{
public:
    // Item flags, with the values of the platform menu flags they stand for.
    static constexpr unsigned kEnabled = 0x0000;
    static constexpr unsigned kGrayed = 0x0001;
    static constexpr unsigned kDisabled = 0x0002;
    static constexpr unsigned kChecked = 0x0008;
    static constexpr unsigned kPopup = 0x0010;
    static constexpr unsigned kByCommand = 0x0000;
    static constexpr unsigned kByPosition = 0x0400;
    static constexpr unsigned kSeparator = 0x0800;

    // Flags of Track, with the values of the platform's tracking flags. The menu opens with
    // its top left corner at the point unless an alignment flag says otherwise; both mouse
    // buttons choose an item. kTrackNoNotify and kTrackReturnCmd are always in effect.
    static constexpr unsigned kTrackLeftButton = 0x0000;
    static constexpr unsigned kTrackRightButton = 0x0002;
    static constexpr unsigned kTrackCenterAlign = 0x0004;
    static constexpr unsigned kTrackRightAlign = 0x0008;
    static constexpr unsigned kTrackVCenterAlign = 0x0010;
    static constexpr unsigned kTrackBottomAlign = 0x0020;
    static constexpr unsigned kTrackNoNotify = 0x0080;
    static constexpr unsigned kTrackReturnCmd = 0x0100;

    // ItemState and ItemId of an item that does not exist.
    static constexpr unsigned kNoItem = 0xFFFFFFFF;

    struct Item
    {
        unsigned flags = 0; // kSeparator, or kGrayed | kDisabled and kChecked as prefixed
        std::string text;   // without its prefixes
        friend bool operator==(const Item&, const Item&) = default;
    };

    // The items of an item string, in order; item i takes the command id firstId + i.
    static std::vector<Item> ParseItems(std::string_view items);

    // An empty popup menu.
    CPopupMenu();
    virtual ~CPopupMenu();
    CPopupMenu(const CPopupMenu&) = delete;
    CPopupMenu& operator=(const CPopupMenu&) = delete;

    // Appends the items of the item string; returns how many were appended.
    int AppendItems(std::string_view items, unsigned firstId);
    // Inserts the items of the item string, each with its own flags plus extraFlags. With
    // kByPosition in extraFlags, position is a zero-based index (past the end appends) that
    // advances with each item, so the items keep their order at that place; otherwise
    // position is a command id and every item goes before that item, wherever it is.
    // Returns how many were inserted (0 when the command does not exist).
    int InsertItems(unsigned position, std::string_view items, unsigned firstId,
                    unsigned extraFlags);
    // Appends or inserts one item whose text is taken as it is, without prefixes or ";"
    // (for texts that come from elsewhere, such as column titles).
    void AppendItem(unsigned flags, unsigned commandId, std::string_view text);
    bool InsertItem(unsigned position, unsigned flags, unsigned commandId, std::string_view text);

    // Turns the item with that command id into a submenu item that opens sub's menu, keeping
    // the item's text, enabled state and command id. The menu moves from sub into this menu
    // and sub gets a new empty menu, so it can be filled again and attached elsewhere. False,
    // with nothing changed, when there is no such item or sub is this menu.
    bool AttachSubmenu(unsigned commandId, CPopupMenu& sub);

    // Shows the menu at the screen point (x, y) for the window and waits until the user
    // chooses an item or dismisses the menu. Returns the chosen command id, or 0 when the
    // menu was dismissed or is empty.
    unsigned Track(QWidget* window, int x, int y, unsigned flags);

    int ItemCount() const;
    // The command id of the item at the position: 0 for a separator, kNoItem past the end.
    unsigned ItemId(int position) const;
    // The item's text with its mnemonic marks, empty for a separator or a missing item.
    std::string ItemText(unsigned item, unsigned flags) const;
    // kGrayed | kDisabled when disabled, kChecked, kSeparator, kPopup; kNoItem when missing.
    unsigned ItemState(unsigned item, unsigned flags) const;
    // Disables the item when flags hold kGrayed or kDisabled, else enables it.
    bool EnableItem(unsigned item, unsigned flags);
    // Checks the item when flags hold kChecked, else removes its check mark.
    bool CheckItem(unsigned item, unsigned flags);
    // Gives the items from first to last (command ids, or positions of this menu with
    // kByPosition) a radio mark, set on check alone. False when check lies outside the range
    // or does not exist.
    bool CheckRadioItem(unsigned first, unsigned last, unsigned check, unsigned flags);
    // Removes the item; a submenu item destroys its submenu with it.
    bool DeleteItem(unsigned item, unsigned flags);
    // The menu that the item at the position opens, or null.
    QMenu* SubMenu(int position) const;

    // The underlying menu, owned by this object.
    QMenu& Menu() const { return *m_menu; }

protected:
    // Shows the menu with its top left corner at globalPos and returns the chosen action,
    // or null when the menu was dismissed. The seam through which tests choose an item
    // without a user.
    virtual QAction* ExecMenu(QMenu& menu, const QPoint& globalPos, QWidget* window);

private:
    struct Location
    {
        QMenu* menu = nullptr;
        QAction* action = nullptr;
    };

    Location Find(unsigned item, unsigned flags) const;
    QAction* NewAction(QMenu& menu, unsigned flags, unsigned commandId, std::string_view text);

    std::unique_ptr<QMenu> m_menu;
};
