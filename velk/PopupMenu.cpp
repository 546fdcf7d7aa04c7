#include "velk/PopupMenu.h"

#include "velk/VelkLibrary.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QVariant>
#include <QWindow>

#include <optional>

namespace {

[[maybe_unused]] const bool kPopupMenuRegistered = (RegisterVelkLibrary(), true);

// The command id an item carries; separators and foreign actions carry none.
std::optional<unsigned> CommandOf(const QAction* action)
{
    if (action->isSeparator())
        return std::nullopt;
    const QVariant data = action->data();
    if (data.metaType().id() != QMetaType::UInt)
        return std::nullopt;
    return data.toUInt();
}

// Depth-first in menu order, as the platform looks up menu commands.
QAction* FindCommand(QMenu& menu, unsigned commandId, QMenu*& owner)
{
    for (QAction* action : menu.actions()) {
        if (CommandOf(action) == commandId) {
            owner = &menu;
            return action;
        }
        if (QMenu* sub = QMenu::menuInAction(action)) {
            if (QAction* found = FindCommand(*sub, commandId, owner))
                return found;
        }
    }
    return nullptr;
}

// Removes the item from the menu and destroys it; a submenu item is the submenu's own
// action, so the submenu goes and takes its action along.
void DestroyItem(QMenu& menu, QAction* action)
{
    menu.removeAction(action);
    if (QMenu* sub = QMenu::menuInAction(action); sub && sub->parent() == &menu)
        delete sub;
    else if (action->parent() == &menu)
        delete action;
}

} // namespace

std::vector<CPopupMenu::Item> CPopupMenu::ParseItems(std::string_view items)
{
    std::vector<Item> result;
    std::size_t start = 0;
    while (start < items.size()) {
        std::size_t end = items.find(';', start);
        if (end == std::string_view::npos)
            end = items.size();
        std::string_view field = items.substr(start, end - start);
        if (field.empty())
            break;
        Item item;
        if (field == "-") {
            item.flags = kSeparator;
        } else {
            // The prefixes combine as flags: a repeated prefix must not turn into another
            // flag, as adding would (two "=" would read as a submenu).
            while (!field.empty() && (field.front() == '~' || field.front() == '=')) {
                item.flags |= field.front() == '~' ? kGrayed | kDisabled : kChecked;
                field.remove_prefix(1);
            }
            item.text = field;
        }
        result.push_back(std::move(item));
        start = end + 1;
    }
    return result;
}

CPopupMenu::CPopupMenu() : m_menu(std::make_unique<QMenu>()) {}

CPopupMenu::~CPopupMenu() = default;

QAction* CPopupMenu::NewAction(QMenu& menu, unsigned flags, unsigned commandId,
                               std::string_view text)
{
    auto* action = new QAction(&menu); // owned by the menu
    if (flags & kSeparator) {
        action->setSeparator(true);
        return action;
    }
    action->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    action->setData(QVariant::fromValue(commandId));
    action->setEnabled((flags & (kGrayed | kDisabled)) == 0);
    if (flags & kChecked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    return action;
}

int CPopupMenu::AppendItems(std::string_view items, unsigned firstId)
{
    const std::vector<Item> parsed = ParseItems(items);
    for (std::size_t i = 0; i < parsed.size(); ++i)
        AppendItem(parsed[i].flags, firstId + static_cast<unsigned>(i), parsed[i].text);
    return static_cast<int>(parsed.size());
}

int CPopupMenu::InsertItems(unsigned position, std::string_view items, unsigned firstId,
                            unsigned extraFlags)
{
    // The place is found once, so that items whose ids equal the command looked up cannot
    // move it: every item goes before the same item, which keeps them in their order (by
    // position too, where the position would otherwise advance with each item).
    const Location at = Find(position, extraFlags);
    QMenu* menu = at.menu;
    if (!(extraFlags & kByPosition) && !at.action)
        return 0;
    if (!menu)
        menu = m_menu.get();
    const std::vector<Item> parsed = ParseItems(items);
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        const unsigned flags = (parsed[i].flags | extraFlags) & ~kByPosition;
        menu->insertAction(
            at.action, NewAction(*menu, flags, firstId + static_cast<unsigned>(i), parsed[i].text));
    }
    return static_cast<int>(parsed.size());
}

void CPopupMenu::AppendItem(unsigned flags, unsigned commandId, std::string_view text)
{
    m_menu->addAction(NewAction(*m_menu, flags, commandId, text));
}

bool CPopupMenu::InsertItem(unsigned position, unsigned flags, unsigned commandId,
                            std::string_view text)
{
    const Location at = Find(position, flags);
    if (!(flags & kByPosition) && !at.action)
        return false;
    QMenu* menu = at.menu ? at.menu : m_menu.get();
    menu->insertAction(at.action, NewAction(*menu, flags & ~kByPosition, commandId, text));
    return true;
}

bool CPopupMenu::AttachSubmenu(unsigned commandId, CPopupMenu& sub)
{
    if (&sub == this)
        return false;
    const Location at = Find(commandId, kByCommand);
    if (!at.action)
        return false;

    QMenu* menu = sub.m_menu.release();
    sub.m_menu = std::make_unique<QMenu>();
    // The parent owns the submenu from now on; keep it a popup window.
    menu->setParent(at.menu, menu->windowFlags());

    QAction* popup = menu->menuAction();
    popup->setText(at.action->text());
    popup->setEnabled(at.action->isEnabled());
    popup->setData(at.action->data());
    at.menu->insertAction(at.action, popup);
    DestroyItem(*at.menu, at.action);
    return true;
}

unsigned CPopupMenu::Track(QWidget* window, int x, int y, unsigned flags)
{
    if (m_menu->isEmpty())
        return 0;
    QPoint pos(x, y);
    const QSize size = m_menu->sizeHint();
    if (flags & kTrackRightAlign)
        pos.rx() -= size.width();
    else if (flags & kTrackCenterAlign)
        pos.rx() -= size.width() / 2;
    if (flags & kTrackBottomAlign)
        pos.ry() -= size.height();
    else if (flags & kTrackVCenterAlign)
        pos.ry() -= size.height() / 2;
    const QAction* chosen = ExecMenu(*m_menu, pos, window);
    return chosen ? CommandOf(chosen).value_or(0) : 0;
}

QAction* CPopupMenu::ExecMenu(QMenu& menu, const QPoint& globalPos, QWidget* window)
{
    if (window) {
        if (QWindow* owner = window->window()->windowHandle()) {
            menu.winId(); // the native window exists only from here on
            menu.windowHandle()->setTransientParent(owner);
        }
    }
    return menu.exec(globalPos);
}

int CPopupMenu::ItemCount() const
{
    return static_cast<int>(m_menu->actions().size());
}

unsigned CPopupMenu::ItemId(int position) const
{
    const QList<QAction*> actions = m_menu->actions();
    if (position < 0 || position >= actions.size())
        return kNoItem;
    return CommandOf(actions[position]).value_or(0);
}

std::string CPopupMenu::ItemText(unsigned item, unsigned flags) const
{
    const Location at = Find(item, flags);
    if (!at.action || at.action->isSeparator())
        return {};
    return at.action->text().toStdString();
}

unsigned CPopupMenu::ItemState(unsigned item, unsigned flags) const
{
    const Location at = Find(item, flags);
    if (!at.action)
        return kNoItem;
    if (at.action->isSeparator())
        return kSeparator;
    unsigned state = 0;
    if (!at.action->isEnabled())
        state |= kGrayed | kDisabled;
    if (at.action->isChecked())
        state |= kChecked;
    if (QMenu::menuInAction(at.action))
        state |= kPopup;
    return state;
}

bool CPopupMenu::EnableItem(unsigned item, unsigned flags)
{
    const Location at = Find(item, flags);
    if (!at.action)
        return false;
    at.action->setEnabled((flags & (kGrayed | kDisabled)) == 0);
    return true;
}

bool CPopupMenu::CheckItem(unsigned item, unsigned flags)
{
    const Location at = Find(item, flags);
    if (!at.action || at.action->isSeparator())
        return false;
    at.action->setActionGroup(nullptr);
    const bool checked = (flags & kChecked) != 0;
    // An unchecked item shows no mark at all, as a plain item does.
    at.action->setCheckable(checked);
    at.action->setChecked(checked);
    return true;
}

bool CPopupMenu::CheckRadioItem(unsigned first, unsigned last, unsigned check, unsigned flags)
{
    if (check < first || check > last)
        return false;
    const Location at = Find(check, flags);
    if (!at.action || at.action->isSeparator())
        return false;

    std::vector<QAction*> members;
    const QList<QAction*> actions = at.menu->actions();
    for (qsizetype pos = 0; pos < actions.size(); ++pos) {
        QAction* action = actions[pos];
        if (action->isSeparator())
            continue;
        if (flags & kByPosition) {
            if (const auto at_pos = static_cast<unsigned>(pos); at_pos >= first && at_pos <= last)
                members.push_back(action);
        } else if (const auto id = CommandOf(action); id && *id >= first && *id <= last) {
            members.push_back(action);
        }
    }
    // An exclusive group is what makes the menu draw radio marks.
    auto* group = new QActionGroup(at.menu); // owned by the menu
    for (QAction* action : members) {
        action->setCheckable(true);
        action->setChecked(action == at.action);
        group->addAction(action);
    }
    return true;
}

bool CPopupMenu::DeleteItem(unsigned item, unsigned flags)
{
    const Location at = Find(item, flags);
    if (!at.action)
        return false;
    DestroyItem(*at.menu, at.action);
    return true;
}

QMenu* CPopupMenu::SubMenu(int position) const
{
    const QList<QAction*> actions = m_menu->actions();
    if (position < 0 || position >= actions.size())
        return nullptr;
    return QMenu::menuInAction(actions[position]);
}

CPopupMenu::Location CPopupMenu::Find(unsigned item, unsigned flags) const
{
    Location at;
    if (flags & kByPosition) {
        const QList<QAction*> actions = m_menu->actions();
        at.menu = m_menu.get();
        if (item < static_cast<unsigned>(actions.size()))
            at.action = actions[static_cast<qsizetype>(item)];
        return at;
    }
    at.action = FindCommand(*m_menu, item, at.menu);
    return at;
}
