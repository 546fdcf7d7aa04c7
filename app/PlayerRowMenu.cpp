#include "app/PlayerRowMenu.h"

#include "app/FriendWatch.h"
#include "app/ResultLists.h"
#include "lattix/view/TableCtrl.h"
#include "velk/PopupMenu.h"

void CPlayerRowMenu::Fill(CPopupMenu& menu, const Lattix::CTableCtrl& grid, int row)
{
    m_name = grid.IsValidRow(row)
                 ? QString::fromStdString(grid.GetCellText(row, CResultLists::kPlayerNameColumn))
                 : QString();
    const CFriendList& friends = m_friends.Friends();
    const bool canAdd =
        !m_name.isEmpty() && !friends.Matches(m_name) && CFriendList::IsUsable(m_name);
    const bool canRemove = !m_name.isEmpty() && friends.ExactEntry(m_name) >= 0;
    const QByteArray itemText =
        (tr("Add to friends") + QLatin1Char(';') + tr("Remove from friends") + QStringLiteral(";-"))
            .toUtf8();
    const auto items = CPopupMenu::ParseItems(itemText.toStdString());
    for (unsigned i = 0; i < items.size(); ++i) {
        const bool enabled = i == 0 ? canAdd : i == 1 ? canRemove : true;
        menu.InsertItem(i,
                        items[i].flags | CPopupMenu::kByPosition |
                            (enabled ? 0u : CPopupMenu::kGrayed | CPopupMenu::kDisabled),
                        kAddToFriends + i, items[i].text);
    }
}

bool CPlayerRowMenu::Command(int command)
{
    if (command == static_cast<int>(kAddToFriends))
        m_friends.Add(m_name);
    else if (command == static_cast<int>(kRemoveFromFriends))
        m_friends.Remove(m_name);
    else
        return false;
    return true;
}
