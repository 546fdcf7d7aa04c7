// farsighter-gallery: drives the real main window and dialogs against a local test network
// and writes each characteristic state as a PNG picture.
#include "app/AboutDlg.h"
#include "app/FavoritesDlg.h"
#include "app/JoinCommand.h"
#include "app/MainDlg.h"
#include "app/MasterServerDlg.h"
#include "app/OptionsDlg.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"
#include "app/SearchPanel.h"
#include "app/ServerInfoDlg.h"
#include "app/ServerRowMenu.h"
#include "app/Translations.h"
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
#include <QDir>
#include <QEventLoop>
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

#include <cstdio>
#include <cstdlib>
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

class Gallery
{
public:
    Gallery(QString folder, const QString& master) : m_folder(std::move(folder))
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

    bool WaitForScan()
    {
        QEventLoop loop;
        QObject::connect(&m_dialog, &CMainDlg::ScanFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        m_dialog.QueryMaster();
        // The status line while the master is asked, before its answer can come in.
        bool ok = Save("15-status-asking-master.png", m_dialog.grab());
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

private:
    QString m_folder;
    CMainDlg m_dialog;
    QPixmap m_menuShot;
    QPoint m_menuAt;
};

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
