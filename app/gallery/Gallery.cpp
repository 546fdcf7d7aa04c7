// farsighter-gallery: drives the real main window and dialogs against a local test network
// and writes each characteristic state as a PNG picture.
#include "app/AboutDlg.h"
#include "app/DesktopNotifier.h"
#include "app/FavoritesDlg.h"
#include "app/FavoritesFile.h"
#include "app/FriendsFile.h"
#include "app/JoinCommand.h"
#include "app/MainDlg.h"
#include "app/MasterServerDlg.h"
#include "app/OptionsDlg.h"
#include "app/Prompts.h"
#include "app/RecentServers.h"
#include "app/ResultLists.h"
#include "app/SearchPanel.h"
#include "app/ServerInfoDlg.h"
#include "app/ServerRowMenu.h"
#include "app/Translations.h"
#include "geo/CountryLookup.h"
#include "lattix/edit/CellInput.h"
#include "lattix/gallery/PictureMenu.h"
#include "lattix/model/CellData.h"
#include "net/LibraryVersions.h"
#include "net/Version.h"
#include "panlo/SplitCtrl.h"
#include "query/Server.h"
#include "velk/PopupMenu.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <string>

namespace {

// The local test network: a master and game servers on 127.0.0.1, ports chosen by the
// system, ended with the gallery.
class TestNet
{
public:
    explicit TestNet(const QString& program)
    {
        m_process.setProgram(program);
        m_process.setArguments({"--master-port", "0", "--first-port", "0", "--count", "48",
                                "--seed", "7", "--delays", "8,25,45,90", "--jitter", "30",
                                "--silent", "3", "--run-time", "300", "--quiet",
                                "--exit-with-parent"});
        m_process.start();
        if (!m_process.waitForStarted(10000) || !m_process.waitForReadyRead(20000))
            return;
        const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
        if (line.startsWith(QLatin1String("ready master=")))
            m_master = line.section(QLatin1Char('='), 1, 1).section(QLatin1Char(' '), 0, 0);
    }
    ~TestNet()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    const QString& Master() const { return m_master; }

private:
    QProcess m_process;
    QString m_master;
};

// A dark theme as desktops set one: light text on dark grey, blue selection and links.
QPalette DarkPalette()
{
    const QColor window(53, 53, 53);
    QPalette palette(window, window);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(42, 42, 42));
    palette.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, Qt::white);
    palette.setColor(QPalette::Link, QColor(42, 130, 218));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    const QColor grey(127, 127, 127);
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

// What the desktop is asked to show, kept for the picture.
class NotificationRecord : public IDesktopNotifier
{
public:
    void Notify(const QString& summary, const QString& body, std::function<void()>) override
    {
        m_summary = summary;
        m_body = body;
    }
    QString m_summary;
    QString m_body;
};

class Gallery
{
public:
    Gallery(QString folder, const QString& master, MainDlgOptions options = {})
        : m_folder(std::move(folder)), m_dialog(std::move(options))
    {
        m_dialog.SetMasterAddress(master);
        m_dialog.show();
        QApplication::setActiveWindow(&m_dialog);
        m_dialog.ServerList().Menus().SetMenuFactory(
            [this] { return std::make_unique<PictureMenu>(m_menuShot, m_menuAt); });
    }

    bool Save(const char* file, const QPixmap& picture) const
    {
        const QString path = QDir(m_folder).filePath(QString::fromLatin1(file));
        const bool ok = picture.save(path, "PNG");
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toLocal8Bit().constData());
        return ok;
    }
    bool Shoot(const char* file, QWidget& widget)
    {
        QApplication::processEvents();
        return Save(file, widget.grab());
    }
    // The main window with a picture of a window of its own (a dialog or a question) at
    // the place where it opens, over the middle of the main window.
    bool ShootOver(const char* file, QWidget& window)
    {
        window.adjustSize();
        window.show();
        QApplication::processEvents();
        const QPixmap back = m_dialog.grab();
        const QPixmap front = window.grab();
        QPixmap picture = back;
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QColor(0, 0, 0, 60));
        const QPoint at((back.width() - front.width()) / 2, (back.height() - front.height()) / 2);
        painter.setPen(QColor(60, 60, 60));
        painter.drawRect(QRect(at - QPoint(1, 1), front.size() + QSize(1, 1)));
        painter.drawPixmap(at, front);
        painter.end();
        window.hide();
        return Save(file, picture);
    }

    bool WaitForScan(bool shootAsking = true)
    {
        QEventLoop loop;
        QObject::connect(&m_dialog, &CMainDlg::ScanFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        m_dialog.QueryMaster();
        // The status line while the master is asked, before its answer can come in.
        bool ok = !shootAsking || Save("15-status-asking-master.png", m_dialog.grab());
        loop.exec();
        if (!ok)
            return false;
        return m_dialog.ServerList().GetRowCount() > 0;
    }

    // The server list with its busiest server selected and that server's players shown;
    // returns that server's row.
    int ShowBusiestServer()
    {
        m_dialog.SetView(1);
        const int busiest = BusiestServer();
        m_dialog.ServerList().SelectRow(busiest);
        m_dialog.ServerList().EnsureVisible(busiest, -1);
        m_dialog.ServerList().Update(true);
        m_dialog.Lists().ShowServerPlayers(busiest);
        return busiest;
    }

    // The main window with the server list after a scan.
    bool ShootAfterScan(const QString& file)
    {
        if (!WaitForScan())
            return false;
        ShowBusiestServer();
        return Shoot(file.toLatin1().constData(), m_dialog);
    }

    // The server row with the most players.
    int BusiestServer()
    {
        Lattix::CTableCtrl& servers = m_dialog.ServerList();
        int best = 0;
        for (int row = 1; row < servers.GetRowCount(); ++row) {
            if (servers.GetCell(row, 7)->GetInt() > servers.GetCell(best, 7)->GetInt())
                best = row;
        }
        return best;
    }

    void DragSplitter(int dx)
    {
        CSplitCtrl& bar = m_dialog.Splitter();
        const QPoint from(bar.width() / 2, bar.height() / 2);
        const auto send = [&bar](QEvent::Type type, QPoint local, Qt::MouseButton button,
                                 Qt::MouseButtons buttons) {
            QMouseEvent event(type, local, bar.mapToGlobal(local), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(&bar, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            send(QEvent::MouseMove, from + QPoint(dx * step / 4, 0), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + QPoint(dx, 0), Qt::LeftButton, Qt::NoButton);
    }

    bool Run()
    {
        bool ok = Shoot("01-first-start.png", m_dialog);
        ok &= WaitForScan();
        ok &= Shoot("02-player-list.png", m_dialog);

        const int busiest = ShowBusiestServer();
        ok &= Shoot("03-server-list-selected.png", m_dialog);

        m_dialog.SetView(0);
        const std::string name =
            m_dialog.PlayerList().GetCellText(m_dialog.PlayerList().GetRowCount() / 2, 0);
        m_dialog.Search().Search(QString::fromStdString(name.substr(0, 2)));
        ok &= Shoot("04-player-search.png", m_dialog);
        m_dialog.Search().Search(QStringLiteral("zz nobody"));
        ok &= Shoot("16-search-found-nobody.png", m_dialog);

        m_dialog.SetView(1);
        Lattix::CTableCtrl& servers = m_dialog.ServerList();
        servers.Menus().ShowBodyMenu(QPoint(40, 2 * servers.GetRowHeight() + 4));
        const QPixmap window = m_dialog.grab();
        const QPoint at = m_dialog.mapFromGlobal(m_menuAt);
        QPixmap menuPicture(window.size());
        menuPicture.fill(Qt::white);
        QPainter painter(&menuPicture);
        painter.drawPixmap(0, 0, window);
        painter.drawPixmap(at, m_menuShot);
        painter.end();
        ok &= Save("05-server-row-menu.png", menuPicture);

        m_dialog.RowMenu().AddToFavorites(0);
        m_dialog.RowMenu().AddToFavorites(busiest);
        {
            COptionsDlg options(m_dialog.Settings(), &m_dialog);
            ok &= ShootOver("06-options-dialog.png", options);
            CMasterServerDlg master(m_dialog.MasterAddress(), &m_dialog);
            ok &= ShootOver("07-master-server-dialog.png", master);
            CFavoritesDlg favorites(m_dialog.FavoritesPath(), m_dialog.Settings(), &m_dialog);
            favorites.NewFavorite();
            // The new favorite's password shows as dots.
            favorites.Grid()
                .GetCell(favorites.Grid().GetRowCount() - 1, CFavoritesDlg::kPasswordColumn)
                ->Set(std::string("clan2026"));
            favorites.Grid().Update(false);
            ok &= ShootOver("08-favorites-dialog.png", favorites);
            // The new row's address being typed in place.
            Lattix::CTableCtrl& grid = favorites.Grid();
            grid.GetCursor().Set(grid.GetRowCount() - 1, CFavoritesDlg::kAddressColumn);
            if (grid.BeginEdit(false)) {
                auto* edit = qobject_cast<QLineEdit*>(&grid.EditController().GetEditor()->Window());
                if (edit)
                    edit->setText(QStringLiteral("127.0.0.1:2796"));
            }
            ok &= grid.IsEditing() && ShootOver("13-favorites-editing.png", favorites);
            grid.EndEdit(true);
            favorites.reject();
            CServerInfoDlg info(*m_dialog.Lists().ServerOfServerRow(busiest), &m_dialog);
            info.resize(info.size());
            ok &= ShootOver("09-server-info-dialog.png", info);
            const auto question =
                CPrompts::Build(&m_dialog, QMessageBox::Question,
                                AmbiguousPasswordQuestion(QStringLiteral("clan2026"), false),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            ok &= ShootOver("10-ambiguous-password.png", *question);
            CAboutDlg about(m_dialog.Settings().FilePath(), m_dialog.FavoritesPath(), &m_dialog);
            ok &= ShootOver("14-about-dialog.png", about);
        }

        // A history of searches fills the search group of a tall window.
        for (int row = 0; row < m_dialog.PlayerList().GetRowCount(); row += 7)
            m_dialog.Search().Search(
                QString::fromStdString(m_dialog.PlayerList().GetCellText(row, 0)).left(4));
        m_dialog.SetView(0);
        m_dialog.resize(m_dialog.minimumWidth(), 1100);
        ok &= Shoot("17-search-history-tall.png", m_dialog);
        m_dialog.SetView(1);

        m_dialog.resize(1600, 1000);
        ok &= Shoot("11-enlarged-1600x1000.png", m_dialog);
        DragSplitter(-180);
        ok &= Shoot("12-after-splitter-drag.png", m_dialog);
        ok &= ShootStopped();
        ok &= ShootRecentAndCountries();
        ok &= ShootFilter();
        m_dialog.reject();
        return ok;
    }

    // A scan that the user stopped while silent servers kept it running: the rows found so
    // far, passworded servers first with their locks, private slots beside the players.
    bool ShootStopped()
    {
        Lattix::CTableCtrl& servers = m_dialog.ServerList();
        const int listed = servers.GetRowCount();
        auto* stop = qobject_cast<QPushButton*>(m_dialog.Control(CMainDlg::IDC_STOP));
        if (!stop)
            return false;
        // The new scan's rows, while the silent servers keep it running.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (stop->isEnabled() && servers.GetRowCount() >= listed)
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        m_dialog.QueryMaster();
        loop.exec();
        if (!stop->isEnabled())
            return false;
        stop->click();
        m_dialog.Splitter().SetPos(65);
        servers.Sort(std::vector<Lattix::CSortKey>{{CResultLists::kServerLockColumn, true}});
        servers.Update(true);
        return Shoot("22-stopped-scan-locks.png", m_dialog);
    }

    // The loopback servers of the test network placed in countries, port by port, since
    // loopback has none; every ninth has no country.
    class CPortCountries final : public ICountryLookup
    {
    public:
        std::string CountryOf(std::string_view address) const override
        {
            static constexpr const char* kCodes[] = {"DE", "US", "FR", "GB", "SE", "NL",
                                                     "PL", "BR", "",   "FI", "CA", "AU"};
            const auto colon = address.rfind(':');
            const int port = colon == std::string_view::npos
                                 ? 0
                                 : std::atoi(std::string(address.substr(colon + 1)).c_str());
            return kCodes[port % std::size(kCodes)];
        }
    };

    // 26: the servers joined last, as "Query Recent" lists them; 27: the Country column with
    // flags after a master scan, sorted by country.
    bool ShootRecentAndCountries()
    {
        m_dialog.Lists().SetCountryLookup(std::make_unique<CPortCountries>());
        Lattix::CTableCtrl& servers = m_dialog.ServerList();
        const CRecentServers recent(CRecentServers::PathBeside(m_dialog.FavoritesPath()));
        QDateTime when = QDateTime::currentDateTimeUtc().addDays(-3);
        for (int row = 0; row < servers.GetRowCount() && row < 15; row += 3) {
            const CServer* server = m_dialog.Lists().ServerOfServerRow(row);
            when = when.addSecs(5 * 3600);
            if (!server || !recent.Add({QString::fromStdString(server->address.ToString()),
                                        QByteArray::fromStdString(server->name), when}))
                return false;
        }
        m_dialog.resize(m_dialog.minimumSize());
        const auto scan = [this](void (CMainDlg::*query)()) {
            QEventLoop loop;
            QObject::connect(&m_dialog, &CMainDlg::ScanFinished, &loop, &QEventLoop::quit);
            QTimer::singleShot(30000, &loop, &QEventLoop::quit);
            (m_dialog.*query)();
            loop.exec();
            ShowBusiestServer();
        };
        scan(&CMainDlg::QueryRecent);
        bool ok = servers.GetRowCount() > 0 && Shoot("26-recent-servers.png", m_dialog);
        scan(&CMainDlg::QueryMaster);
        servers.Sort(std::vector<Lattix::CSortKey>{{CResultLists::kServerCountryColumn, true}});
        servers.Update(true);
        ok &= Shoot("27-country-column.png", m_dialog);
        return ok;
    }

    // The filter bar in use, at the window's first size: a text typed and "Hide empty" on,
    // the counters saying how many of the listed rows show.
    bool ShootFilter()
    {
        m_dialog.resize(m_dialog.minimumSize());
        m_dialog.Splitter().SetPos(65);
        auto* text = qobject_cast<QLineEdit*>(m_dialog.Control(CMainDlg::IDC_FILTER_TEXT));
        auto* hideEmpty = qobject_cast<QCheckBox*>(m_dialog.Control(CMainDlg::IDC_HIDE_EMPTY));
        if (!text || !hideEmpty)
            return false;
        m_dialog.ServerList().Sort(std::vector<Lattix::CSortKey>{{4, false}});
        text->setFocus();
        text->setText(QStringLiteral("wolf"));
        hideEmpty->setChecked(true);
        ShowBusiestServer();
        return Shoot("23-filter-bar.png", m_dialog);
    }

    // The main window after a scan and the options dialog, as a German user sees them.
    bool RunGerman()
    {
        bool ok = WaitForScan();
        ok &= Shoot("20-german-main-window.png", m_dialog);
        COptionsDlg options(m_dialog.Settings(), &m_dialog);
        ok &= ShootOver("21-german-options-dialog.png", options);
        m_dialog.reject();
        return ok;
    }

    // Friends (24, 25). names: the names of two players the next scan finds, from a scan
    // of its own; then the window of a user whose friends they are.
    // The two names found on the fewest servers (the test network's names recur).
    QStringList TwoPlayers()
    {
        if (!WaitForScan(false))
            return {};
        const Lattix::CTableCtrl& players = m_dialog.PlayerList();
        std::map<std::string, int> rows;
        for (int row = 0; row < players.GetRowCount(); ++row)
            ++rows[players.GetCellText(row, 0)];
        std::multimap<int, std::string> rarest;
        for (const auto& [name, count] : rows) {
            if (!name.empty())
                rarest.emplace(count, name);
        }
        if (rarest.size() < 2)
            return {};
        return {QString::fromStdString(rarest.begin()->second),
                QString::fromStdString(std::next(rarest.begin())->second)};
    }
    bool ShootFriends(const NotificationRecord& notification)
    {
        if (!WaitForScan(false))
            return false;
        m_dialog.SetView(0);
        Lattix::CTableCtrl& players = m_dialog.PlayerList();
        int shown = 0;
        while (shown < players.GetRowCount() && !players.GetDrawState().IsRowEmphasized(shown))
            ++shown;
        players.EnsureVisible(std::min(shown + 4, players.GetRowCount() - 1), -1);
        players.SelectRow(-1);
        bool ok = shown < players.GetRowCount() && Shoot("24-friend-marked.png", m_dialog);
        ok &= !notification.m_summary.isEmpty() &&
              ShootNotification(notification.m_summary, notification.m_body);
        return ok;
    }
    // The notification as a desktop shows it, in the top right corner over the window.
    bool ShootNotification(const QString& summary, const QString& body)
    {
        QFrame bubble;
        bubble.setFrameShape(QFrame::StyledPanel);
        bubble.setAutoFillBackground(true);
        auto* row = new QHBoxLayout(&bubble);
        auto* icon = new QLabel(&bubble);
        icon->setPixmap(QIcon(QStringLiteral(":/farsighter/farsighter.svg")).pixmap(48, 48));
        icon->setAlignment(Qt::AlignTop);
        row->addWidget(icon);
        auto* texts = new QVBoxLayout;
        auto* title = new QLabel(summary, &bubble);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        auto* text = new QLabel(body, &bubble);
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        texts->addWidget(title);
        texts->addWidget(text);
        row->addLayout(texts, 1);
        bubble.setFixedWidth(360);
        bubble.adjustSize();
        const QPixmap front = bubble.grab();
        QPixmap picture = m_dialog.grab();
        QPainter painter(&picture);
        painter.drawPixmap(picture.width() - front.width() - 12, 12, front);
        painter.end();
        return Save("25-friend-notification.png", picture);
    }

private:
    QString m_folder;
    CMainDlg m_dialog;
    QPixmap m_menuShot;
    QPoint m_menuAt;
};

// A user with two friends whom the scan finds: their rows stand out and the window counts
// them (24), and the desktop tells of both in one notification (25).
bool ShootFriends(const QString& folder, const QString& master)
{
    const QStringList names = Gallery(folder, master).TwoPlayers();
    const QString path = CFriendsFile::PathBeside(CFavoritesFile::DefaultPath());
    if (names.size() != 2 || !CFriendsFile(path).Save(names))
        return false;
    NotificationRecord notification;
    MainDlgOptions options;
    options.notifier = &notification;
    bool ok = false;
    {
        Gallery gallery(folder, master, options);
        ok = gallery.ShootFriends(notification);
    }
    return QFile::remove(path) && ok;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string argument = argc > 1 ? argv[1] : ".";
    if (argument == "--version") {
        std::fputs(VersionReport("farsighter-gallery", FARSIGHTER_VERSION).c_str(), stdout);
        return 0;
    }
    if (argc > 3 || argument.starts_with('-')) {
        std::fputs("usage: farsighter-gallery [output folder [farsighter-testnet]]\n"
                   "Writes pictures of the browser's windows in characteristic states as PNG\n"
                   "files, against a local test network on 127.0.0.1 that it starts itself.\n",
                   argument == "--help" ? stdout : stderr);
        return argument == "--help" ? 0 : 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A profile of its own: the user's settings and favorites stay untouched.
    QTemporaryDir profile;
    if (!profile.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", profile.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", profile.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("farsighter"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       profile.filePath(QStringLiteral("config")));
    CPrompts::SetScripted(true);

    const QString testnet = argc > 2
                                ? QString::fromLocal8Bit(argv[2])
                                : QDir(QCoreApplication::applicationDirPath())
                                      .filePath(QStringLiteral("../../testnet/farsighter-testnet"));
    TestNet network(testnet);
    if (network.Master().isEmpty()) {
        std::fprintf(stderr, "farsighter-gallery: cannot start %s\n",
                     testnet.toLocal8Bit().constData());
        return 1;
    }
    const QString folder = QString::fromStdString(argument);
    QDir().mkpath(folder);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR");
    if (!scale.isEmpty()) {
        // Under a scale factor (the run below starts one) only the scaled window is shot.
        Gallery scaled(folder, network.Master());
        return scaled.ShootAfterScan(QStringLiteral("19-scale-%1.png").arg(scale)) ? 0 : 1;
    }
    bool ok = false;
    {
        Gallery gallery(folder, network.Master());
        ok = gallery.Run();
    }
    ok &= ShootFriends(folder, network.Master());
    {
        // A German user starting the program for the first time: settings of their own.
        const QString config = profile.filePath(QStringLiteral("config-de"));
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
        const CTranslations german(QLocale(QLocale::German, QLocale::Germany));
        ok &= german.IsTranslated() && Gallery(folder, network.Master()).RunGerman();
    }
    {
        // The desktop's dark theme: Fusion with dark colours, on a first start again.
        qputenv("XDG_CONFIG_HOME", profile.filePath(QStringLiteral("dark/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", profile.filePath(QStringLiteral("dark/data")).toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           profile.filePath(QStringLiteral("dark/config")));
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
        Gallery dark(folder, network.Master());
        ok &= dark.ShootAfterScan(QStringLiteral("18-dark-after-scan.png"));
    }
    // A screen of double density: a run of its own, since the factor is read at start-up.
    QProcess scaled;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    scaled.setProcessEnvironment(environment);
    scaled.setProcessChannelMode(QProcess::ForwardedChannels);
    scaled.start(QCoreApplication::applicationFilePath(), {folder, testnet});
    ok &= scaled.waitForFinished(120000) && scaled.exitStatus() == QProcess::NormalExit &&
          scaled.exitCode() == 0;
    return ok ? 0 : 1;
}
