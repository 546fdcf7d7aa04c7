#pragma once

#include "app/MainDlg.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"
#include "lattix/model/CellCompare.h"
#include "lattix/view/TableCtrl.h"
#include "panlo/ControlId.h"
#include "tests/support/TestNetProcess.h"
#include "velk/PopupMenu.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// The whole of a file, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes the bytes the whole of the file.
inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The items of a row menu, by whether they could be chosen.
struct MenuItems
{
    QStringList enabled;
    QStringList disabled;
};

// Records a row menu's items and picks the enabled item with the given text, if any.
class CMenuProbe : public CPopupMenu
{
public:
    CMenuProbe(MenuItems& items, QString pick, std::function<void()> whileOpen)
        : m_items(items), m_pick(std::move(pick)), m_whileOpen(std::move(whileOpen))
    {
    }

protected:
    QAction* ExecMenu(QMenu& menu, const QPoint&, QWidget*) override
    {
        if (m_whileOpen)
            m_whileOpen();
        QAction* chosen = nullptr;
        for (QAction* action : menu.actions()) {
            if (action->isSeparator())
                continue;
            (action->isEnabled() ? m_items.enabled : m_items.disabled).append(action->text());
            if (action->text() == m_pick && action->isEnabled())
                chosen = action;
        }
        return chosen;
    }

private:
    MenuItems& m_items;
    QString m_pick;
    std::function<void()> m_whileOpen;
};

// A main window in a folder of its own, with empty settings, and the steps a user takes.
class CWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Store().clear();
        CPrompts::Reset();
    }
    static QSettings Store()
    {
        return {QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Farsighter RTCW")};
    }
    static void Set(const QString& name, const QVariant& value) { Store().setValue(name, value); }
    // The address of a server of the test network.
    static QString AddressOf(const nlohmann::json& server)
    {
        return QStringLiteral("127.0.0.1:%1").arg(server["port"].get<int>());
    }
    // Settings for a fast scan of every server of the network, showing the view.
    static void UseNetwork(const CTestNetProcess& net, int view)
    {
        Set("Master", QString::fromStdString(net.MasterAddress()));
        Set("Speed", 5);
        Set("IncludeEmptyServers", 1);
        Set("LastView", view);
    }
    QString FavoritesPath() const { return m_dir.filePath(QStringLiteral("favorites.dat")); }
    void WriteFavorites(const QByteArray& bytes) const { WriteAll(FavoritesPath(), bytes); }
    std::unique_ptr<CMainDlg> Open(MainDlgOptions options = {})
    {
        options.favoritesPath = FavoritesPath();
        options.masterFirstTimeoutMs = 300;
        options.masterTimeoutStepMs = 100;
        auto dialog = std::make_unique<CMainDlg>(options);
        dialog->show();
        return dialog;
    }
    template <typename T>
    static T* Get(const CMainDlg& dialog, int id)
    {
        return qobject_cast<T*>(dialog.Control(id));
    }
    static void Click(CMainDlg& dialog, int button)
    {
        QTest::mouseClick(Get<QPushButton>(dialog, button), Qt::LeftButton);
    }
    static void ClickTab(CMainDlg& dialog, int tab)
    {
        auto* tabs = Get<QTabBar>(dialog, CMainDlg::IDC_TABS);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    }
    static void ClickRow(Lattix::CTableCtrl& grid, int row, Qt::KeyboardModifiers keys = {})
    {
        grid.EnsureVisible(row, -1);
        QTest::mouseClick(&grid.Body(), Qt::LeftButton, keys, QPoint(20, RowY(grid, row)));
    }
    // The middle of the row in the grid's body.
    static int RowY(const Lattix::CTableCtrl& grid, int row)
    {
        return row * grid.GetRowHeight() - grid.GetScrollY() + grid.GetRowHeight() / 2;
    }
    // Opens the row's menu, runs whileOpen and picks the item; returns the items shown.
    static MenuItems PickFromMenu(Lattix::CTableCtrl& grid, int row, const QString& pick,
                                  std::function<void()> whileOpen = {})
    {
        MenuItems items;
        grid.Menus().SetMenuFactory(
            [&] { return std::make_unique<CMenuProbe>(items, pick, whileOpen); });
        if (row < grid.GetRowCount())
            grid.EnsureVisible(row, -1);
        grid.Menus().ShowBodyMenu(QPoint(20, RowY(grid, row)));
        return items;
    }
    // The first row that sorts before the row above it under the grid's sort order, or -1.
    static int FirstOutOfOrder(const Lattix::CTableCtrl& grid)
    {
        for (int row = 1; row < grid.GetRowCount(); ++row) {
            for (const Lattix::CSortKey& key : grid.GetSortOrder()) {
                const int c = grid.GetCompare(key.nColumn)
                                  ->Compare(*grid.GetCell(row - 1, key.nColumn),
                                            *grid.GetCell(row, key.nColumn));
                if (c != 0) {
                    if (key.bDescending ? c < 0 : c > 0)
                        return row;
                    break;
                }
            }
        }
        return -1;
    }
    // Waits for the scan that is running to end.
    static bool ScanEnds(CMainDlg& dialog)
    {
        QSignalSpy finished(&dialog, &CMainDlg::ScanFinished);
        return finished.wait(30000);
    }
    // Clicks the button and waits for the scan that it starts to end.
    static bool Scan(CMainDlg& dialog, int button)
    {
        QSignalSpy finished(&dialog, &CMainDlg::ScanFinished);
        Click(dialog, button);
        return finished.wait(30000);
    }
    // The whole text of the status line, also when the line shows it cut.
    static QString StatusOf(const CMainDlg& dialog)
    {
        const auto* line = Get<QLabel>(dialog, CMainDlg::IDC_STATUS_LINE);
        return line->toolTip().isEmpty() ? line->text() : line->toolTip();
    }
    // The first row whose cell shows the text (by default a server-list row with the address),
    // or the row count when none does.
    static int RowOf(const Lattix::CTableCtrl& grid, const std::string& text,
                     int col = CResultLists::kServerAddressColumn)
    {
        int row = 0;
        while (row < grid.GetRowCount() && grid.GetCellText(row, col) != text)
            ++row;
        return row;
    }
    static int RowOf(const Lattix::CTableCtrl& grid, const QString& text,
                     int col = CResultLists::kServerAddressColumn)
    {
        return RowOf(grid, text.toStdString(), col);
    }

    QTemporaryDir m_dir;
};
