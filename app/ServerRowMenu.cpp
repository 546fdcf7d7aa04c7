#include "app/ServerRowMenu.h"

#include "app/FavoritesFile.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"
#include "app/ServerInfoDlg.h"
#include "app/StatusLine.h"
#include "lattix/view/TableCtrl.h"
#include "velk/PopupMenu.h"

CServerRowMenu::CServerRowMenu(QWidget& parent, CResultLists& lists, CStatusLine& status,
                               QString favoritesPath)
    : m_parent(parent), m_lists(lists), m_status(status), m_favoritesPath(std::move(favoritesPath))
{
}

void CServerRowMenu::Fill(CPopupMenu& menu, int row)
{
    const Lattix::CTableCtrl& servers = m_lists.Servers();
    const bool valid = servers.IsValidRow(row);
    m_address =
        valid ? servers.GetCellText(row, CResultLists::kServerAddressColumn) : std::string();
    const QByteArray itemText = tr(valid ? QT_TR_NOOP("Add to favorites;-;Show server info;-")
                                         : QT_TR_NOOP("~Add to favorites;-;~Show server info;-"))
                                    .toUtf8();
    const auto items = CPopupMenu::ParseItems(itemText.toStdString());
    for (unsigned i = 0; i < items.size(); ++i)
        menu.InsertItem(i, items[i].flags | CPopupMenu::kByPosition, kAddToFavorites + i,
                        items[i].text);
}

bool CServerRowMenu::Command(int command, int row)
{
    if (command != static_cast<int>(kAddToFavorites) &&
        command != static_cast<int>(kShowServerInfo))
        return false;
    const Lattix::CTableCtrl& servers = m_lists.Servers();
    if (!servers.IsValidRow(row) ||
        servers.GetCellText(row, CResultLists::kServerAddressColumn) != m_address) {
        CPrompts::Show(
            &m_parent, QMessageBox::Warning,
            tr("The server %1 is no longer in the list.").arg(QString::fromStdString(m_address)));
        return true;
    }
    if (command == static_cast<int>(kAddToFavorites))
        AddToFavorites(row);
    else
        ShowServerInfo(row);
    return true;
}

bool CServerRowMenu::AddToFavorites(int row)
{
    const Lattix::CTableCtrl& servers = m_lists.Servers();
    if (!servers.IsValidRow(row))
        return false;
    QString error;
    const CFavoritesFile file(m_favoritesPath);
    const QString address =
        QString::fromStdString(servers.GetCellText(row, CResultLists::kServerAddressColumn));
    const auto result = file.Add(
        address, QString::fromStdString(servers.GetCellText(row, CResultLists::kServerNameColumn)),
        &error);
    if (result == CFavoritesFile::AddResult::Failed) {
        CPrompts::Show(&m_parent, QMessageBox::Warning,
                       tr("Cannot write %1: %2").arg(m_favoritesPath, error));
        return false;
    }
    m_status.FavoriteAdded(address, result == CFavoritesFile::AddResult::AlreadyThere);
    return true;
}

void CServerRowMenu::ShowServerInfo(int row)
{
    if (const CServer* server = m_lists.ServerOfServerRow(row)) {
        CServerInfoDlg dialog(*server, &m_parent);
        dialog.exec();
    }
}
