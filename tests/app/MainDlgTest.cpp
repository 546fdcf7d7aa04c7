// Workflow tests against the real main window, its dialogs and the local test network.
#include "FakeGame.h"
#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include "app/AboutDlg.h"
#include "app/FavoritesDlg.h"
#include "app/FavoritesFile.h"
#include "app/JoinFlow.h"
#include "app/OptionsDlg.h"
#include "app/ScanBridge.h"
#include "app/SearchPanel.h"
#include "lattix/edit/CellInput.h"
#include "lattix/model/CellData.h"
#include "lattix/model/ColumnGeometry.h"
#include "lattix/model/LayoutWords.h"
#include "lattix/view/TableDisplay.h"
#include "net/Version.h"
#include "panlo/SplitCtrl.h"
#include "query/Server.h"
#include "velk/HyperLink.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <sys/stat.h>

#include <functional>

namespace {

using D = CMainDlg;

class MainDlgTest : public CWindowFixture
{
protected:
    // Key presses that carry each character of text, whatever the keyboard would need.
    static void Type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
    }
    // Every shown column but one of images fits its title with the sort arrow, and its texts.
    static void ExpectColumnsFit(const Lattix::CTableCtrl& grid, int imageColumn = -1)
    {
        const QFontMetrics metrics(grid.GetDrawState().GetFont());
        constexpr int kMargins = 10;
        constexpr int kSortArrow = 7;
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            const QString title =
                QString::fromStdString(grid.GetColumnTitle(col)).section('\n', 0, 0);
            if (!grid.Geometry().IsVisible(col) || title.isEmpty() || col == imageColumn)
                continue;
            int widest = metrics.horizontalAdvance(title) + kSortArrow;
            for (int row = 0; row < grid.GetRowCount(); ++row)
                widest = std::max(widest, metrics.horizontalAdvance(
                                              QString::fromStdString(grid.GetCellText(row, col))));
            EXPECT_LE(widest + kMargins, grid.GetColumnWidth(col))
                << grid.GetDlgCtrlID() << " " << title.toStdString();
        }
    }
};

TEST_F(MainDlgTest, FirstStartTheLinksTheSettingsRoundTripAndDamagedSettings)
{
    auto dialog = Open();
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_VERSION)->currentText(), "1.4");
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_SPEED)->currentText(), "ISDN");
    EXPECT_TRUE(Get<QCheckBox>(*dialog, D::IDC_INCLUDE_FULL)->isChecked());
    EXPECT_FALSE(Get<QCheckBox>(*dialog, D::IDC_INCLUDE_EMPTY)->isChecked());
    EXPECT_EQ(dialog->CurrentView(), 0);
    EXPECT_TRUE(dialog->PlayerList().isVisible());
    EXPECT_FALSE(dialog->ServerList().isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(dialog->Bridge().IsRunning() || dialog->Bridge().IsFetchingMaster());
    // The program's name opens the About box; the other link opens the README's file.
    QStringList shown;
    QTimer::singleShot(0, dialog.get(), [&shown] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        for (const QLabel* label : about->findChildren<QLabel*>())
            shown << label->text();
        about->reject();
    });
    auto* home = Get<CHyperLink>(*dialog, D::IDC_HOME_PAGE);
    EXPECT_EQ(home->text(), "Farsighter");
    QTest::mouseClick(home, Qt::LeftButton, {}, home->rect().center());
    const QString settings = QStringLiteral("Settings: ") + dialog->Settings().FilePath();
    EXPECT_TRUE(settings.endsWith("/Farsighter RTCW.conf")) << settings.toStdString();
    EXPECT_EQ(shown,
              (QStringList{"Farsighter " FARSIGHTER_VERSION, QStringLiteral("Qt ") + qVersion(),
                           settings, "Favorites: " + FavoritesPath(), "Licence: GPL-3.0-or-later",
                           "Farsighter comes with no warranty, to the extent permitted by law."}));
    QUrl opened;
    auto* team = Get<CHyperLink>(*dialog, D::IDC_AUTHOR);
    EXPECT_EQ(team->text(), "the Farsighter team");
    CLinkDesktop desktop = CLinkDesktop::System();
    desktop.openUrl = [&opened](const QUrl& url) {
        opened = url;
        return true;
    };
    team->SetDesktop(desktop);
    QTest::mouseClick(team, Qt::LeftButton, {}, team->rect().center());
    EXPECT_EQ(opened.scheme(), "file");
    EXPECT_EQ(QFileInfo(opened.toLocalFile()).fileName(), "README.md");
    EXPECT_TRUE(QFileInfo(opened.toLocalFile()).isFile()) << opened.toString().toStdString();

    // A favorites FIFO is reported, not scanned, and does not make the window wait.
    ASSERT_EQ(mkfifo(QFile::encodeName(FavoritesPath()).constData(), 0600), 0);
    Click(*dialog, D::IDC_QUERY_FAVORITES);
    ASSERT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot read the favorites file"));
    EXPECT_TRUE(CPrompts::Shown()[0].endsWith("not a regular file"));
    EXPECT_FALSE(dialog->Bridge().IsRunning());
    // Lines that are left out of a scan are named.
    ASSERT_TRUE(QFile::remove(FavoritesPath()));
    WriteFavorites("not an address\r\n:27960\r\n127.0.0.1\tNo port\r\n");
    Click(*dialog, D::IDC_QUERY_FAVORITES);
    EXPECT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(StatusOf(*dialog).endsWith("2 lines that are not a server address (line 1, 2); "
                                           "skipped."));
    EXPECT_TRUE(dialog->Bridge().IsRunning());

    // The user switches the view and changes every setting the window keeps.
    ClickTab(*dialog, 1);
    EXPECT_TRUE(dialog->ServerList().isVisible() && dialog->ServerPlayerList().isVisible());
    EXPECT_TRUE(dialog->Splitter().isVisible());
    EXPECT_FALSE(dialog->PlayerList().isVisible());
    Get<QComboBox>(*dialog, D::IDC_SPEED)->setCurrentIndex(5);
    Get<QComboBox>(*dialog, D::IDC_VERSION)->setCurrentIndex(0);
    QTest::mouseClick(Get<QCheckBox>(*dialog, D::IDC_INCLUDE_EMPTY), Qt::LeftButton);
    Get<QLineEdit>(*dialog, D::IDC_PASSWORD)->setText(QStringLiteral(" pw "));
    for (const char* text : {" Ab ", "ab", "*zz"})
        dialog->Search().Search(QString::fromLatin1(text));
    dialog->resize(dialog->minimumWidth() + 80, dialog->minimumHeight() + 60);
    const QSize size = dialog->size();
    const int split = dialog->Splitter().SetPos(40);
    const std::vector<Lattix::CSortKey> serverOrder = {{9, true}, {0, false}};
    dialog->ServerList().Sort(serverOrder);
    dialog->ServerPlayerList().Sort(std::vector<Lattix::CSortKey>{{2, true}});
    Click(*dialog, D::IDC_CLOSE);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Store().value("LastPlayers").toString(), QStringLiteral("Ab\n*zz\n"));

    auto again = Open();
    EXPECT_EQ(Get<QComboBox>(*again, D::IDC_VERSION)->currentText(), "Demo");
    EXPECT_EQ(Get<QComboBox>(*again, D::IDC_SPEED)->currentText(), "DSL*4");
    EXPECT_TRUE(Get<QCheckBox>(*again, D::IDC_INCLUDE_EMPTY)->isChecked());
    EXPECT_EQ(again->CurrentView(), 1);
    EXPECT_EQ(Get<QLineEdit>(*again, D::IDC_PASSWORD)->text(), QStringLiteral(" pw "));
    auto* history = Get<QComboBox>(*again, D::IDC_SEARCH_TEXT);
    ASSERT_EQ(history->count(), 2);
    EXPECT_EQ(history->itemText(0), "*zz");
    EXPECT_EQ(history->itemText(1), "Ab");
    EXPECT_EQ(again->size(), size);
    EXPECT_EQ(again->Splitter().GetPos(), split);
    // Each grid keeps its sort order.
    EXPECT_EQ(again->ServerList().GetSortOrder(), serverOrder);
    EXPECT_EQ(again->ServerPlayerList().GetSortOrder(), (std::vector<Lattix::CSortKey>{{2, true}}));
    EXPECT_EQ(again->PlayerList().GetSortOrder(), (std::vector<Lattix::CSortKey>{{0, false}}));
    again->showMaximized();
    Click(*again, D::IDC_CLOSE);

    // Maximised, it comes back maximised.
    EXPECT_TRUE(Open()->isMaximized());

    // Odd, damaged or read-only settings leave a usable window.
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QStringLiteral("player%1").arg(i, 3, 10, QLatin1Char('0'));
    Set("Version", 99);
    Set("Speed", 6);
    Set("LastPlayers", many.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    Set("Lattix_Server", QByteArray("\x01\x02\x03", 3));
    Set("Lattix_Player", QStringLiteral("not binary"));
    Set("LastView", QStringLiteral("x"));
    Store().remove("SplitPos");
    dialog = Open();
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_VERSION)->currentText(), "1.3");
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_SPEED)->currentIndex(), -1);
    EXPECT_EQ(dialog->CurrentView(), 0);
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_SEARCH_TEXT)->count(), 300);
    EXPECT_EQ(dialog->ServerList().GetColumnCount(), 15);
    dialog->reject();
    EXPECT_EQ(Store().value("Speed").toInt(), -1);
    // A long history is kept, cut to its newest entries instead of being dropped.
    EXPECT_EQ(Store().value("LastPlayers").toString().count(QLatin1Char('\n')), 64);

    // Edges from a screen that is gone, or 100000 pixels apart: back on screen, whole if it fits.
    Set("LastMaximized", 0);
    for (const char* edges :
         {"401f0000401f0000c4220000fc210000", "6079feff6079feffe07cfeffe07cfeff",
          "0000000000000000a0860100a0860100"}) {
        Set("LastPos", QByteArray::fromHex(edges));
        const auto moved = Open();
        const QRect area = moved->screen()->availableGeometry();
        const QRect frame = moved->frameGeometry();
        EXPECT_LE(moved->width(), std::max(area.width(), moved->minimumWidth())) << edges;
        EXPECT_LE(moved->height(), std::max(area.height(), moved->minimumHeight())) << edges;
        EXPECT_EQ(area.intersected(frame).width(), std::min(area.width(), frame.width())) << edges;
        EXPECT_EQ(area.intersected(frame).height(), std::min(area.height(), frame.height()))
            << edges;
    }
    // A read-only settings folder is read and said once; nothing is written there.
    Set("Version", 56);
    Set("Speed", 5);
    const QString path = Store().fileName();
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray before = ReadAll(path);
    const QFile::Permissions permissions = QFile::permissions(folder);
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(folder, permissions); });
    CPrompts::Reset();
    dialog = Open();
    QApplication::processEvents();
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_VERSION)->currentText(), "Demo");
    EXPECT_EQ(Get<QComboBox>(*dialog, D::IDC_SPEED)->currentIndex(), 5);
    ASSERT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(CPrompts::Shown()[0].contains("read-only")) << CPrompts::Shown()[0].toStdString();
    Get<QComboBox>(*dialog, D::IDC_SPEED)->setCurrentIndex(2);
    Click(*dialog, D::IDC_CLOSE);
    EXPECT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(MainDlgTest, MasterScanFillsTheListsTheUserWorksWithThemAndStopKeepsTheRowsFound)
{
    CTestNetProcess net({"--count", "24", "--seed", "3", "--silent", "1", "--delays", "5,30,60"});
    UseNetwork(net, 0);
    Set("StartupQuery", 2);
    auto dialog = Open();
    ASSERT_TRUE(ScanEnds(*dialog));

    int normal = 0;
    int players = 0;
    for (const auto& server : net.Manifest()["servers"]) {
        if (server["behaviour"] == "normal") {
            ++normal;
            players += static_cast<int>(server["players"].size());
        }
    }
    Lattix::CTableCtrl& serverList = dialog->ServerList();
    Lattix::CTableCtrl& playerList = dialog->PlayerList();
    ASSERT_EQ(serverList.GetRowCount(), normal);
    EXPECT_EQ(playerList.GetRowCount(), players);
    EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_SERVER_COUNT)->text().toInt(), normal);
    EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_PLAYER_COUNT)->text().toInt(), players);
    EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_SERVERS_TO_QUERY)->text(), "0");
    EXPECT_EQ(Get<QProgressBar>(*dialog, D::IDC_PROGRESS)->value(), 0);
    for (int row = 1; row < serverList.GetRowCount(); ++row) // sorted by ping at the end
        EXPECT_LE(serverList.GetCell(row - 1, 4)->GetInt(), serverList.GetCell(row, 4)->GetInt());
    // Nothing is cut off at the default widths.
    ExpectColumnsFit(playerList);
    ExpectColumnsFit(serverList, CResultLists::kServerLockColumn);

    // A click on a server shows its players.
    ClickTab(*dialog, 1);
    int row = 0; // the busiest server
    for (int r = 1; r < serverList.GetRowCount(); ++r)
        if (serverList.GetCell(r, 7)->GetInt() > serverList.GetCell(row, 7)->GetInt())
            row = r;
    serverList.Update(true);
    ClickRow(serverList, row);
    EXPECT_EQ(serverList.GetSelectedRow(), row);
    EXPECT_EQ(dialog->ServerPlayerList().GetRowCount(), serverList.GetCell(row, 7)->GetInt());
    ExpectColumnsFit(dialog->ServerPlayerList());
    EXPECT_LE(dialog->ServerPlayerList().Geometry().GetTotalWidth(),
              dialog->ServerPlayerList().Body().width());
    // In a large window the names take the room that the other columns leave.
    ClickTab(*dialog, 0);
    const int narrow = playerList.GetColumnWidth(0);
    dialog->resize(1400, 900);
    EXPECT_GT(playerList.GetColumnWidth(0), narrow);
    const int total = playerList.Geometry().GetTotalWidth();
    EXPECT_LE(total, playerList.Body().width());
    EXPECT_GE(total + playerList.style()->pixelMetric(QStyle::PM_ScrollBarExtent),
              playerList.Body().width());
    ClickTab(*dialog, 1);

    // Searches typed and sent with Enter, by a name's start in any case (also past a completion)
    // or "*" and a part: each selects the player and its server and goes into the history.
    const QString name = QString::fromStdString(dialog->ServerPlayerList().GetCellText(0, 0));
    auto* box = Get<QComboBox>(*dialog, D::IDC_SEARCH_TEXT);
    for (const QString& text :
         {name.left(3).toLower(), QStringLiteral("*") + name.mid(1, 3), name.left(4).toLower()}) {
        box->lineEdit()->selectAll();
        Type(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_GE(box->findText(text.trimmed()), 0) << text.toStdString();
        EXPECT_EQ(playerList.GetSelectedRow(), 0) << text.toStdString();
        const std::string found = playerList.GetCellText(0, 0);
        EXPECT_TRUE(QString::fromStdString(found).toUpper().contains(text.toUpper().remove('*')));
        const int serverRow = serverList.GetSelectedRow();
        ASSERT_TRUE(serverList.IsValidRow(serverRow));
        EXPECT_EQ(dialog->Lists().ServerOfServerRow(serverRow),
                  dialog->Lists().ServerOfPlayerRow(0));
        const int pick = dialog->ServerPlayerList().GetSelectedRow();
        ASSERT_TRUE(dialog->ServerPlayerList().IsValidRow(pick));
        EXPECT_EQ(dialog->ServerPlayerList().GetCellText(pick, 0), found);
    }
    // The wheel and the arrow keys step through the history; only Enter searches.
    playerList.SelectRow(-1);
    QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(playerList.GetSelectedRow(), -1);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(playerList.GetSelectedRow(), 0);
    // A search that finds nobody says so on the status line.
    box->lineEdit()->selectAll();
    Type(box, QStringLiteral("zz nobody"));
    Click(*dialog, D::IDC_SEARCH);
    EXPECT_EQ(StatusOf(*dialog), "No player found for \"zz nobody\".");
    // The history list: Down moves, a click searches, Delete deletes once the user agrees.
    auto* history = Get<QListView>(*dialog, D::IDC_SEARCH_HISTORY);
    ASSERT_EQ(history->model()->rowCount(), 4);
    EXPECT_EQ(history->currentIndex().row(), box->findText("zz nobody"));
    const int first = box->findText(name.left(3).toLower());
    history->setFocus();
    history->setCurrentIndex(history->model()->index(first, 0));
    QTest::keyClick(history, Qt::Key_Down);
    EXPECT_EQ(box->currentIndex(), first + 1);
    EXPECT_EQ(StatusOf(*dialog), "No player found for \"zz nobody\".");
    QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                      history->visualRect(history->model()->index(first, 0)).center());
    EXPECT_EQ(box->currentText(), name.left(3).toLower());
    EXPECT_EQ(StatusOf(*dialog), "");
    EXPECT_EQ(playerList.GetSelectedRow(), 0);
    // While the question is open, a search puts a new entry before it.
    CPrompts::SetNextAnswer([&] {
        dialog->Search().Search(QStringLiteral("!!!"));
        return QMessageBox::Yes;
    });
    QTest::keyClick(history, Qt::Key_Delete);
    EXPECT_EQ(box->findText(name.left(3).toLower()), -1);
    EXPECT_EQ(box->findText(QStringLiteral("!!!")), 0);
    EXPECT_EQ(history->model()->rowCount(), 4);

    // The row menu: "Add to favorites" writes a row's server once; disabled below the rows.
    const QString added = QString::fromStdString(serverList.GetCellText(0, 11));
    const QStringList enabled = PickFromMenu(serverList, 0, "Add to favorites").enabled;
    EXPECT_TRUE(enabled.contains("Add to favorites") && enabled.contains("Show server info"));
    EXPECT_EQ(StatusOf(*dialog), added + " added to the favorites.");
    PickFromMenu(serverList, 0, "Add to favorites");
    EXPECT_EQ(StatusOf(*dialog), added + " is a favorite already.");
    const QByteArray line = ReadAll(FavoritesPath());
    EXPECT_EQ(line.count('\n'), 1);
    EXPECT_TRUE(line.startsWith(added.toLatin1() + "\t"));
    // A favorites file that cannot be written is said so.
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::remove(FavoritesPath()) && QFile::link(fifo, FavoritesPath()));
    CPrompts::Reset();
    PickFromMenu(serverList, 0, "Add to favorites");
    ASSERT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot write"));
    serverList.resize(serverList.width(), serverList.GetRowHeight() * (normal + 6));
    const MenuItems below = PickFromMenu(serverList, normal + 2, "Add to favorites");
    EXPECT_FALSE(below.enabled.contains("Add to favorites"));
    EXPECT_TRUE(below.disabled.contains("Add to favorites") &&
                below.disabled.contains("Show server info"));

    // Stop or Escape ends a scan that a silent server keeps running; the list shows locks and
    // private slots also in a column layout stored before the lock column was added.
    std::vector<Lattix::CLayoutColumn> columns(13, {60, true});
    columns[9].bVisible = false;
    columns[11].nWidth = 150;
    columns[7].bVisible = columns[8].bVisible = false;
    std::vector<std::string> titles;
    std::vector<int> reversed;
    for (int col = 0; col < 13; ++col) {
        titles.push_back(serverList.GetColumnTitle(col));
        reversed.insert(reversed.begin(), col);
    }
    dialog.reset();
    Set("Lattix_Server",
        Lattix::CLayoutWords::ToBytes(Lattix::CLayoutWords::Build(titles, columns, reversed)));
    UseNetwork(net, 1);
    Set("StartupQuery", 0);
    dialog = Open();
    Lattix::CTableCtrl& servers = dialog->ServerList();
    const Lattix::CColumnGeometry& layout = servers.Geometry();
    EXPECT_EQ(layout.GetColumnPos(0), 12);
    EXPECT_FALSE(layout.IsVisible(9));
    EXPECT_EQ(layout.GetWidth(11), 150);
    EXPECT_EQ(layout.GetColumnPos(CResultLists::kServerLockColumn), 13);
    EXPECT_TRUE(layout.IsVisible(CResultLists::kServerLockColumn));

    auto* stop = Get<QPushButton>(*dialog, D::IDC_STOP);
    EXPECT_FALSE(stop->isEnabled());
    QSignalSpy finished(dialog.get(), &CMainDlg::ScanFinished);
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Stop");
        finished.clear();
        Click(*dialog, D::IDC_QUERY_MASTER);
        // Every row is in while the silent server keeps the scan running.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return stop->isEnabled() && servers.GetRowCount() == normal; }, 20000));
        if (escape) {
            ClickRow(servers, 0);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            QTest::mouseClick(stop, Qt::LeftButton);
        }
        EXPECT_EQ(finished.size(), 1);
        EXPECT_FALSE(dialog->Bridge().IsRunning() || stop->isEnabled());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(servers.GetRowCount(), normal);
        EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_SERVER_COUNT)->text().toInt(), normal);
        EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_SERVERS_TO_QUERY)->text(), "0");
        EXPECT_EQ(
            StatusOf(*dialog),
            QStringLiteral("Scan stopped: %1 of %2 servers queried.").arg(normal).arg(normal + 1));
        for (int row = 1; row < servers.GetRowCount(); ++row) // sorted by ping
            EXPECT_LE(servers.GetCell(row - 1, 4)->GetInt(), servers.GetCell(row, 4)->GetInt());
    }
    // Escape with no scan running changes nothing.
    Get<QLabel>(*dialog, D::IDC_STATUS_LINE)->clear();
    Get<QLabel>(*dialog, D::IDC_STATUS_LINE)->setToolTip({});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(StatusOf(*dialog), "");

    int locks = 0;
    int privateSlots = 0;
    for (const auto& server : net.Manifest()["servers"]) {
        if (server["behaviour"] != "normal")
            continue;
        bool needPass = false;
        for (const auto& var : server["vars"])
            needPass |= var[0] == "g_needpass" && var[1] == "1";
        const int reserved = server["private_clients"].get<int>();
        const int row = RowOf(servers, AddressOf(server));
        ASSERT_LT(row, servers.GetRowCount());
        EXPECT_EQ(servers.GetCell(row, CResultLists::kServerLockColumn)->GetInt(),
                  needPass ? 1 : 0);
        const std::string shown =
            std::to_string(server["players"].size()) + "/" +
            std::to_string(server["max_clients"].get<int>()) +
            (reserved > 0 ? " (+" + std::to_string(reserved) + ")" : std::string());
        EXPECT_EQ(servers.GetCellText(row, 5), shown);
        locks += needPass ? 1 : 0;
        privateSlots += reserved > 0 ? 1 : 0;
    }
    EXPECT_GT(locks, 0);
    EXPECT_GT(privateSlots, 0);
    // The lock sorts: passworded servers first, descending.
    servers.Sort(std::vector<Lattix::CSortKey>{{CResultLists::kServerLockColumn, true}});
    EXPECT_EQ(servers.GetCell(0, CResultLists::kServerLockColumn)->GetInt(), 1);
}

TEST_F(MainDlgTest, JoiningAsksWhenPasswordsDifferFindsTheGameAndALateListChangesNothing)
{
    CTestNetProcess net({"--count", "3", "--seed", "9", "--silent", "1"});
    QStringList normal;
    QString silent;
    for (const auto& server : net.Manifest()["servers"]) {
        const QString address = AddressOf(server);
        if (server["behaviour"] == "silent")
            silent = address;
        else
            normal << address;
    }
    ASSERT_EQ(normal.size(), 2);
    const QString address = normal[0];
    WriteFavorites(QStringLiteral("%1\tClan server\tfav\r\n%2\tOther\t\r\n%3\tSilent\t\r\n")
                       .arg(address, normal[1], silent)
                       .toLatin1());
    UseNetwork(net, 1);
    Set("AutoClose", 0);
    // "--query favorites" wins over the start-up setting: the master is not asked.
    Set("StartupQuery", 2);
    Set("Master", QStringLiteral("127.0.0.1:1"));
    MainDlgOptions options;
    options.startupQuery = 1;
    auto dialog = Open(options);
    QSignalSpy finished(dialog.get(), &CMainDlg::ScanFinished);
    Lattix::CTableCtrl& servers = dialog->ServerList();
    // The silent favorite keeps the scan running for seconds after the others are listed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return servers.GetRowCount() == 2; }, 20000));
    const int row = RowOf(servers, address);
    ASSERT_LT(row, servers.GetRowCount());
    servers.SelectRow(row);

    QTemporaryDir games;
    CFakeGame game(games);
    const QString notAProgram = games.filePath(QStringLiteral("readme.txt"));
    WriteAll(notAProgram, {});
    auto* password = Get<QLineEdit>(*dialog, D::IDC_PASSWORD);

    // A join during the scan, with no game path yet: the picker opens until it gives a program,
    // which starts in its folder with the favorite's password and is kept.
    CPrompts::SetNextFileName(notAProgram);
    CPrompts::SetNextFileName(game.Path());
    ClickRow(servers, row);
    QTest::mouseDClick(&servers.Body(), Qt::LeftButton, {}, QPoint(20, RowY(servers, row)));
    const QStringList start = game.WaitForStart();
    ASSERT_FALSE(start.isEmpty());
    EXPECT_EQ(QFileInfo(start[0]).canonicalFilePath(), QFileInfo(games.path()).canonicalFilePath());
    EXPECT_EQ(start.mid(1), (QStringList{"connect", address + ";", "password", "fav"}));
    // The picker says what to pick, each time it opens.
    EXPECT_EQ(CPrompts::Shown().size(), 2);
    EXPECT_TRUE(CPrompts::Shown().value(0).contains("WolfMP.exe") &&
                CPrompts::Shown().value(1).contains("wolfmp.x86"));
    EXPECT_EQ(Store().value("RTCW").toString(), game.Path());
    // The join stopped the scan, and the counters say so.
    ASSERT_TRUE(!finished.isEmpty() || finished.wait(10000));
    EXPECT_FALSE(dialog->Bridge().IsRunning());
    EXPECT_EQ(Get<QLabel>(*dialog, D::IDC_SERVERS_TO_QUERY)->text(), "0");
    EXPECT_EQ(Get<QProgressBar>(*dialog, D::IDC_PROGRESS)->value(), 0);

    struct Case
    {
        const char* typed;
        QMessageBox::StandardButton answer; // NoButton: no question expected
        const char* used;                   // nullptr: nothing starts
    };
    const Case cases[] = {
        {"fav", QMessageBox::NoButton, "fav"},
        {" other ", QMessageBox::Yes, "fav"},
        {"other", QMessageBox::No, "other"},
        {"other", QMessageBox::Cancel, nullptr},
        {"a\"b; quit", QMessageBox::NoButton, nullptr},
        {"a+quit", QMessageBox::NoButton, nullptr},
        {"", QMessageBox::NoButton, "fav"}, // again, to prove that nothing started before
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CPrompts::Reset();
        password->setText(QString::fromLatin1(c.typed));
        if (c.answer != QMessageBox::NoButton)
            CPrompts::SetNextAnswer(c.answer);
        Click(*dialog, D::IDC_JOIN);
        // The field is hidden: the question names the favorite's password by its dots.
        EXPECT_EQ(CPrompts::Shown().contains(QStringLiteral(
                      "Ambiguous passwords! Use the favorite one (\u25CF\u25CF\u25CF)?")),
                  c.answer != QMessageBox::NoButton);
        EXPECT_FALSE(CPrompts::Shown().join(' ').contains("(fav)"));
        if (c.used)
            EXPECT_EQ(game.WaitForStart().mid(1),
                      (QStringList{"connect", address + ";", "password", c.used}));
        else
            EXPECT_FALSE(game.Started());
    }

    // The field's eye shows its text, and then the question names the password itself.
    QAction* eye = password->actions().value(0);
    ASSERT_NE(eye, nullptr);
    // The eye is drawn for double-density screens too, not scaled up from 16 pixels.
    EXPECT_EQ(eye->icon().pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    eye->trigger();
    EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
    CPrompts::Reset();
    CPrompts::SetNextAnswer(QMessageBox::Cancel);
    password->setText(QStringLiteral("other"));
    Click(*dialog, D::IDC_JOIN);
    EXPECT_TRUE(CPrompts::Shown().contains(
        QStringLiteral("Ambiguous passwords! Use the favorite one (fav)?")));
    eye->trigger();
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    // Keys on a row: Escape ends nothing; Enter joins, in either list, as a double click does.
    password->clear();
    ClickRow(servers, RowOf(servers, normal[1]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(game.WaitForStart().mid(1), (QStringList{"connect", normal[1]}));
    ClickTab(*dialog, 0);
    Lattix::CTableCtrl& players = dialog->PlayerList();
    ASSERT_GT(players.GetRowCount(), 0);
    ClickRow(players, 0);
    const QString joined =
        QString::fromStdString(dialog->Lists().ServerOfPlayerRow(0)->address.ToString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(game.WaitForStart().mid(1),
              joined == address ? (QStringList{"connect", address + ";", "password", "fav"})
                                : (QStringList{"connect", joined}));

    // A master list that comes too late changes nothing.
    ClickTab(*dialog, 1);
    dialog->SetMasterAddress(QString::fromStdString(net.MasterAddress()));
    QSignalSpy masterFinished(&dialog->Bridge(), &CScanBridge::MasterFinished);

    // "Query Favorites" right after "Query Master": the favorites stay.
    Click(*dialog, D::IDC_QUERY_MASTER);
    Click(*dialog, D::IDC_QUERY_FAVORITES);
    ASSERT_TRUE(ScanEnds(*dialog));
    EXPECT_FALSE(masterFinished.wait(1500));
    EXPECT_EQ(masterFinished.count(), 0);
    ASSERT_EQ(servers.GetRowCount(), 2);

    // A join whose question is open while the master answers starts; no scan follows.
    servers.SelectRow(RowOf(servers, address));
    password->setText(QStringLiteral("other"));
    Click(*dialog, D::IDC_QUERY_MASTER);
    CPrompts::SetNextAnswer([&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->Bridge().IsFetchingMaster(); }, 10000));
        return QMessageBox::Yes;
    });
    Click(*dialog, D::IDC_JOIN);
    EXPECT_EQ(game.WaitForStart().mid(1),
              (QStringList{"connect", address + ";", "password", "fav"}));
    EXPECT_EQ(servers.GetRowCount(), 2);
    EXPECT_FALSE(dialog->Bridge().IsRunning());

    // A row command chosen after the master's list replaced the rows does nothing but say so.
    Click(*dialog, D::IDC_QUERY_MASTER);
    EXPECT_TRUE(PickFromMenu(servers, RowOf(servers, address), "Add to favorites", [&] {
                    EXPECT_TRUE(masterFinished.wait(10000));
                }).enabled.contains("Add to favorites"));
    EXPECT_EQ(CPrompts::Shown().value(CPrompts::Shown().size() - 1),
              QStringLiteral("The server %1 is no longer in the list.").arg(address));
    EXPECT_EQ(ReadAll(FavoritesPath()).count('\n'), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return RowOf(servers, address) < servers.GetRowCount(); }));
    servers.SelectRow(RowOf(servers, address));
    password->clear();

    // With "Close after joining" chosen in the options, a start closes the window.
    QTimer::singleShot(0, [] {
        auto* options = qobject_cast<COptionsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        qobject_cast<QCheckBox*>(FindControl(options, COptionsDlg::IDC_AUTO_CLOSE))
            ->setChecked(true);
        options->accept();
    });
    Click(*dialog, D::IDC_OPTIONS);
    EXPECT_TRUE(dialog->Joining().AutoClose());
    Click(*dialog, D::IDC_JOIN);
    EXPECT_FALSE(game.WaitForStart().isEmpty());
    EXPECT_FALSE(dialog->isVisible());
}

// The fixed message box stays for a master that does not answer, and closing ends its probe.
TEST_F(MainDlgTest, TheStatusLineFollowsTheMasterQuery)
{
    struct Case
    {
        const char* name;
        bool silent;
        int version; // as stored: 60 is "1.4", the test network's
        const char* said;
    };
    const Case cases[] = {
        {"listed", false, 60, "The master server %1 lists 2 servers of 1.4."},
        {"none of the version", false, 58, "The master server %1 lists no servers of 1.3."},
        {"silent", true, 60, "The master server %1 did not answer."},
    };
    CTestNetProcess net({"--count", "2"});
    CTestNetProcess silent({"--count", "2", "--master-silent"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString master = QString::fromStdString((c.silent ? silent : net).MasterAddress());
        Set("Master", master);
        Set("Version", c.version);
        Set("IncludeEmptyServers", 1);
        CPrompts::Reset();
        auto dialog = Open();
        QSignalSpy finished(&dialog->Bridge(), &CScanBridge::MasterFinished);
        const QString version = Get<QComboBox>(*dialog, D::IDC_VERSION)->currentText();
        Click(*dialog, D::IDC_QUERY_MASTER);
        EXPECT_EQ(StatusOf(*dialog).toStdString(),
                  QStringLiteral("Asking %1 for the servers of %2 \u2026")
                      .arg(master, version)
                      .toStdString());
        EXPECT_EQ(dialog->cursor().shape(), Qt::BusyCursor);
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_EQ(StatusOf(*dialog).toStdString(),
                  QString::fromLatin1(c.said).arg(master).toStdString());
        EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(CPrompts::Shown(),
                  c.silent ? QStringList{"No response from master server."} : QStringList{});
    }
    // Closing while the silent master is asked ends at once, not after the time-outs (4.5 s).
    Set("Master", QString::fromStdString(silent.MasterAddress()));
    MainDlgOptions options;
    options.favoritesPath = FavoritesPath();
    auto dialog = std::make_unique<CMainDlg>(options);
    dialog->show();
    Click(*dialog, D::IDC_QUERY_MASTER);
    ASSERT_TRUE(dialog->Bridge().IsFetchingMaster());
    QElapsedTimer closing;
    closing.start();
    Click(*dialog, D::IDC_CLOSE);
    dialog.reset();
    EXPECT_LT(closing.elapsed(), 1500);
}

TEST_F(MainDlgTest, FavoritesDialogLoadsBottomUpChecksAddressesAndNeverSavesOverWhatItCouldNotRead)
{
    const QByteArray original = "127.0.0.1:27960\tOne\tpw\r\n"
                                "127.0.0.1:27961\tTwo\t\r\n"
                                "127.0.0.1:27962\tThree\t\r\n";
    WriteFavorites(original);
    const auto read = [&] { return ReadAll(FavoritesPath()); };
    auto main = Open();

    const QByteArray edited = QByteArray(original).replace("\tpw\r", "\tnew pw\r");
    {
        // Passwords read as dots, one a character, until "Show passwords" is checked; the
        // editor shows the text, and what is typed there is saved.
        CFavoritesDlg dialog(FavoritesPath(), main->Settings(), main.get());
        dialog.show();
        Lattix::CTableCtrl& grid = dialog.Grid();
        ASSERT_EQ(grid.GetRowCount(), 3);
        EXPECT_EQ(grid.GetCellText(0, 0), "Three");
        EXPECT_EQ(grid.GetCellText(2, CFavoritesDlg::kPasswordColumn), "\u25CF\u25CF");
        grid.SelectRow(2);
        grid.GetCursor().Set(2, CFavoritesDlg::kPasswordColumn);
        ASSERT_TRUE(grid.BeginEdit(false));
        auto* editor = qobject_cast<QLineEdit*>(&grid.EditController().GetEditor()->Window());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text(), QStringLiteral("pw"));
        EXPECT_EQ(editor->echoMode(), QLineEdit::Normal);
        editor->setText(QStringLiteral("new pw"));
        grid.EndEdit(false);
        qobject_cast<QCheckBox*>(FindControl(&dialog, CFavoritesDlg::IDC_SHOW_PASSWORDS))
            ->setChecked(true);
        EXPECT_EQ(grid.GetCellText(2, CFavoritesDlg::kPasswordColumn), "new pw");
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(read(), edited);
    }
    {
        CFavoritesDlg dialog(FavoritesPath(), main->Settings(), main.get());
        dialog.show();
        Lattix::CTableCtrl& grid = dialog.Grid();
        const auto click = [&](int id) {
            QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(&dialog, id)), Qt::LeftButton);
        };
        const auto clickCell = [&](int row, int col) {
            QTest::mouseClick(&grid.Body(), Qt::LeftButton, {},
                              grid.GetCellRect(row, col).center());
        };
        const auto editor = [&]() -> QLineEdit* {
            Lattix::CCellInput* input = grid.EditController().GetEditor();
            return input ? qobject_cast<QLineEdit*>(&input->Window()) : nullptr;
        };
        click(CFavoritesDlg::IDC_NEW);
        EXPECT_EQ(grid.GetSelectedRow(), 3);
        // Typed in place: a click edits a cell, Tab moves on, OK commits the open edit.
        clickCell(3, 0);
        ASSERT_NE(editor(), nullptr);
        QTest::keyClicks(editor(), QStringLiteral("  Clan War  "));
        QTest::keyClick(editor(), Qt::Key_Tab);
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(grid.EditController().GetEditColumn(), CFavoritesDlg::kAddressColumn);
        QTest::keyClicks(editor(), QStringLiteral("127.0.0.2")); // the game's port is added
        // An address that does not read keeps the dialog open with that cell in editing.
        grid.GetCell(1, CFavoritesDlg::kAddressColumn)->Set(std::string("no address!"));
        click(1); // OK
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(CPrompts::Shown().value(CPrompts::Shown().size() - 1), "Invalid IP address.");
        EXPECT_EQ(grid.GetSelectedRow(), 1);
        EXPECT_EQ(grid.EditController().GetEditRow(), 1);
        EXPECT_EQ(grid.EditController().GetEditColumn(), CFavoritesDlg::kAddressColumn);
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(editor()->text(), QStringLiteral("no address!"));
        EXPECT_EQ(read(), edited);
        // "Delete" drops the open edit together with its row; the rest goes through.
        QTest::keyClicks(editor(), QStringLiteral("127.0.0.1:1"));
        click(CFavoritesDlg::IDC_DELETE);
        EXPECT_FALSE(grid.IsEditing());
        click(1);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(read(), QByteArray("127.0.0.2:27960\tClan War\t\r\n"
                                     "127.0.0.1:27960\tOne\tnew pw\r\n"
                                     "127.0.0.1:27962\tThree\t\r\n"));
    }

    // Neither a favorites file that could not be read nor a full disk loses favorites or settings.
    const QString path = FavoritesPath();
    const auto write = [&](const QByteArray& bytes, qint64 size = -1) {
        WriteAll(path, bytes);
        ASSERT_TRUE(size < 0 || QFile::resize(path, size));
    };
    QByteArray hundred;
    for (int i = 0; i < 100; ++i)
        hundred += QStringLiteral("127.0.0.%1:27960\tServer %1\t\r\n").arg(i).toLatin1();
    QByteArray many;
    for (int i = 0; i <= 65536; ++i)
        many += QStringLiteral("10.0.%1.%2:1\tS\t\r\n").arg(i / 256).arg(i % 256).toLatin1();
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto contents = [&] {
        QFile in(path);
        return !QFileInfo(path).isFile()      ? QByteArray("not a file")
               : in.open(QIODevice::ReadOnly) ? in.readAll()
                                              : QByteArray("unreadable");
    };
    struct Case
    {
        const char* what;
        std::function<void()> make;
        const char* said;
        int rows;
        rlim_t limit = RLIM_INFINITY; // the room left on the disk
    };
    const Case cases[] = {
        {"FIFO", [&] { ASSERT_TRUE(QFile::remove(path) && QFile::rename(fifo, path)); },
         "not a regular file", 0},
        {"link to a FIFO",
         [&] {
             ASSERT_TRUE(QFile::rename(path, fifo));
             ASSERT_TRUE(QFile::link(fifo, path));
         },
         "not a regular file", 0},
        {"too large",
         [&] {
             ASSERT_TRUE(QFile::remove(path));
             write("127.0.0.1:1\tBig\t\r\n", CFavoritesFile::kMaxFileSize + 1);
         },
         "larger than 16777216 bytes", 0},
        {"long line", [&] { write("127.0.0.1:1\tOK\t\r\n127.0.0.1:2\t" + QByteArray(70000, 'x')); },
         "line 2 is longer than 65536 bytes", 0},
        {"too many", [&] { write(many); }, "holds more than 65536 favorites", 65536},
        {"full disk", [&] { write(hundred); }, "Cannot write", 100, 100},
    };
    Click(*main, D::IDC_CLOSE); // the settings are written
    main = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const QByteArray before = contents();
        CPrompts::Reset();
        const CFileSizeLimit full(c.limit);
        CFavoritesDlg dialog(path, main->Settings(), main.get());
        EXPECT_EQ(dialog.Grid().GetRowCount(), c.rows);
        const bool readable = c.limit != RLIM_INFINITY; // said at once, or at OK
        EXPECT_EQ(qobject_cast<QPushButton*>(FindControl(&dialog, 1))->isEnabled(), readable);
        EXPECT_EQ(CPrompts::Shown().size(), readable ? 0 : 1);
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(CPrompts::Shown().size(), readable ? 1 : 2);
        EXPECT_TRUE(CPrompts::Shown()[0].contains(QString::fromLatin1(c.said)))
            << CPrompts::Shown()[0].toStdString();
        EXPECT_EQ(contents(), before);
    }
    // A window closed on a full disk keeps the settings as they were, and leaves no other file.
    const QString settingsPath = Store().fileName();
    const QByteArray settings = ReadAll(settingsPath);
    ASSERT_GT(settings.size(), 500);
    Get<QComboBox>(*main, D::IDC_SPEED)->setCurrentIndex(5);
    CPrompts::Reset();
    {
        const CFileSizeLimit full(100);
        Click(*main, D::IDC_CLOSE);
    }
    EXPECT_EQ(ReadAll(settingsPath), settings);
    ASSERT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot save the settings to"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"favorites.dat"});
    struct stat info
    {
    };
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

} // namespace
