// lattix-gallery: writes pictures of grids in characteristic states.
#include "lattix/edit/CellInput.h"
#include "lattix/edit/EnumIn.h"
#include "lattix/gallery/PictureMenu.h"
#include "lattix/model/CellData.h"
#include "lattix/model/Enum.h"
#include "lattix/view/BoolCol.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/EnumOut.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TableCtrl.h"
#include "lattix/view/TextFlags.h"
#include "net/LibraryVersions.h"
#include "net/Version.h"
#include "velk/BottomTabCtrl.h"
#include "velk/PopupMenu.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace Lattix;

namespace {

constexpr unsigned kVisible = 0x10000000;

struct Server
{
    const char* name;
    int gameType;
    const char* mod;
    bool friendlyFire;
    int ping;
    const char* players;
    bool punkBuster;
    const char* map;
    int lives;
    const char* address;
};

const Server kServers[] = {
    {"Rtcw Veterans Objective Server", 5, "main", true, 48, "12/24", true, "mp_beach", 0,
     "81.169.140.12:27960"},
    {"=FF= Stopwatch Night", 6, "osp", false, 61, "8/16", true, "mp_assault", 0,
     "62.75.216.40:27960"},
    {"Checkpoint Frenzy", 7, "main", false, 95, "3/20", false, "mp_village", 2,
     "195.90.7.33:27961"},
    {"The Castle Keep (Low Grav)", 5, "shrub", true, 120, "20/20", false, "mp_castle", -1,
     "213.202.99.5:27960"},
    {"Old School Wolf", 5, "main", true, 33, "0/12", true, "mp_depot", 0, "88.198.37.2:27960"},
    {"Private Clan Match", 6, "osp", true, 9999, "0/10", true, "te_frostbite", 3,
     "144.76.8.91:27962"},
    {"Beach Invasion 24/7", 5, "main", false, 72, "17/32", true, "mp_beach", -3,
     "5.9.21.200:27960"},
    {"Sniper Heaven", 4, "sniper", false, 154, "5/18", false, "mp_ice", 1, "91.121.4.17:27960"},
    {"Checkpoint Kings", 7, "main", true, 57, "9/16", true, "mp_sub", 0, "46.4.112.60:27960"},
    {"Training Ground", 2, "main", false, 41, "1/8", false, "mp_base", 0, "178.63.10.99:27960"},
};

// Icons are drawn on this colour, which the enumerations make transparent.
constexpr ColorWord kMaskWord = 0xFF00FF; // magenta
constexpr int kIcon = 16;

// One icon per game type (values 0 to 9), drawn without smoothing so that no edge pixel
// mixes with the mask colour: a grey question mark for unknown types, a red flag on a
// pole for Objective, a stopwatch for Stopwatch and a ring of three flags for Checkpoint.
// Drawn at double density, so that they are sharp on such screens too.
QImage GameTypeIcons()
{
    QImage strip(20 * kIcon, 2 * kIcon, QImage::Format_RGB32);
    strip.setDevicePixelRatio(2);
    strip.fill(QColor(255, 0, 255));
    QPainter p(&strip);
    for (int type = 0; type < 10; ++type) {
        p.save();
        p.translate(type * kIcon, 0);
        switch (type) {
        case 5: // objective: flag on a pole
            p.fillRect(3, 1, 2, 14, QColor(90, 60, 30));
            p.fillRect(5, 2, 9, 6, QColor(200, 30, 30));
            p.fillRect(2, 14, 6, 2, QColor(60, 60, 60));
            break;
        case 6: // stopwatch: dial with hands and a crown
            p.setPen(QPen(QColor(40, 40, 40), 1));
            p.setBrush(QColor(235, 235, 235));
            p.drawEllipse(2, 3, 11, 11);
            p.fillRect(6, 0, 4, 2, QColor(40, 40, 40));
            p.drawLine(8, 8, 8, 5);
            p.drawLine(8, 8, 10, 10);
            break;
        case 7: // checkpoint: three small flags
            for (int i = 0; i < 3; ++i) {
                const int x = 1 + i * 5;
                const QColor colour[] = {QColor(30, 110, 200), QColor(30, 160, 60),
                                         QColor(220, 160, 20)};
                p.fillRect(x, 4 + (i % 2) * 3, 1, 9 - (i % 2) * 3, QColor(60, 60, 60));
                p.fillRect(x + 1, 4 + (i % 2) * 3, 3, 3, colour[i]);
            }
            break;
        default: // unknown: a grey disc with a question mark
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(160, 160, 160));
            p.drawEllipse(2, 2, 12, 12);
            p.setPen(Qt::white);
            QFont font = p.font();
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRect(2, 2, 12, 12), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        p.restore();
    }
    return strip;
}

// PunkBuster: no image for "no", a green shield for "yes".
QImage PunkBusterIcons()
{
    QImage strip(4 * kIcon, 2 * kIcon, QImage::Format_RGB32);
    strip.setDevicePixelRatio(2);
    strip.fill(QColor(255, 0, 255));
    QPainter p(&strip);
    QPainterPath shield;
    shield.moveTo(kIcon + 2, 2);
    shield.lineTo(kIcon + 14, 2);
    shield.lineTo(kIcon + 14, 8);
    shield.lineTo(kIcon + 8, 15);
    shield.lineTo(kIcon + 2, 8);
    shield.closeSubpath();
    p.fillPath(shield, QColor(40, 140, 60));
    p.fillRect(kIcon + 7, 4, 2, 8, Qt::white);
    p.fillRect(kIcon + 4, 6, 8, 2, Qt::white);
    return strip;
}

class Gallery
{
public:
    explicit Gallery(QString folder) : m_folder(std::move(folder))
    {
        m_window.resize(900, 330);
        m_window.setWindowTitle("Server list");
        m_grid.Create(kVisible, 0, 0, 900, 330, &m_window, 1000);
        m_grid.Menus().SetMenuFactory(
            [this] { return std::make_unique<PictureMenu>(m_menuShot, m_menuAt); });
        Fill();
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        m_grid.setFocus();
    }

    void Fill()
    {
        m_grid.Clear();
        m_grid.AddColumn(CStringCol(TextFlags::kLeft), "Name", 220);
        m_grid.AddColumn(CEnumCol(m_gameTypes.Get(), CEnumOut::ImageAndText), "Type\nGame type",
                         130);
        m_grid.AddColumn(CStringCol(TextFlags::kLeft), "Mod", 60);
        m_grid.AddColumn(CBoolCol(TextFlags::kCentred, "yes", "no", true), "FF\nFriendly fire", 36);
        m_grid.AddColumn(CIntCol(TextFlags::kRight), "Ping", 50);
        m_grid.AddColumn(CStringCol(TextFlags::kCentred), "Players", 60);
        m_grid.AddColumn(CEnumCol(m_punkBuster.Get(), CEnumOut::ImageOnly), "PB\nPunkBuster", 36);
        m_grid.AddColumn(CStringCol(TextFlags::kLeft), "Map", 100);
        m_grid.AddColumn(CIntCol(TextFlags::kRight), "Lives", 50);
        m_grid.AddColumn(CStringCol(TextFlags::kLeft), "Address", -1); // hidden
        m_grid.CreateRowLayout();
        for (int copy = 0; copy < 3; ++copy) {
            for (const Server& s : kServers) {
                CRowData* row = m_grid.AddRow();
                std::string name = s.name;
                if (copy > 0)
                    name += " #" + std::to_string(copy + 1);
                row->GetCell(0)->Set(name);
                row->GetCell(1)->Set(s.gameType);
                row->GetCell(2)->Set(s.mod);
                row->GetCell(3)->Set(s.friendlyFire);
                row->GetCell(4)->Set(s.ping + copy * 7);
                row->GetCell(5)->Set(s.players);
                row->GetCell(6)->Set(s.punkBuster ? 1 : 0);
                row->GetCell(7)->Set(s.map);
                row->GetCell(8)->Set(s.lives);
                row->GetCell(9)->Set(s.address);
            }
        }
        m_grid.Update(false);
    }

    bool Save(const char* file, const QPixmap& picture) const
    {
        const QString path = QDir(m_folder).filePath(QString::fromLatin1(file));
        const bool ok = picture.save(path, "PNG");
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toLocal8Bit().constData());
        return ok;
    }
    bool Shoot(const char* file) { return Save(file, m_window.grab()); }
    QWidget* EditorWindow()
    {
        CCellInput* input = m_grid.EditController().GetEditor();
        return input ? &input->Window() : nullptr;
    }
    // The window with the open editor, which shows only once the event loop has run.
    bool ShootEditor(const char* file)
    {
        if (!m_grid.IsEditing()) {
            std::printf("FAILED %s: no editor open\n", file);
            return false;
        }
        QApplication::processEvents();
        return Shoot(file);
    }
    // The window with a picture of a popup drawn over it at its place (window coordinates).
    bool ShootOver(const char* file, const QPixmap& shot, QPoint at)
    {
        const QPixmap window = m_window.grab();
        QPixmap picture(std::max(window.width(), at.x() + shot.width()),
                        std::max(window.height(), at.y() + shot.height()));
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, window);
        painter.drawPixmap(at, shot);
        painter.end();
        return Save(file, picture);
    }
    // The window with a popup window drawn where it is on the screen.
    bool ShootWithPopup(const char* file, QWidget& popup)
    {
        return ShootOver(file, popup.grab(), m_window.mapFromGlobal(popup.mapToGlobal(QPoint())));
    }
    // The window with the last menu drawn where it opened.
    bool ShootMenu(const char* file)
    {
        return ShootOver(file, m_menuShot, m_window.mapFromGlobal(m_menuAt));
    }

    bool Run()
    {
        bool ok = Shoot("01-plain.png");

        m_grid.Sort(std::vector<CSortKey>{{1, false}, {4, true}});
        m_grid.Update(true);
        ok &= Shoot("02-sorted-two-keys.png");

        m_grid.MarkRows(2, 4, true);
        m_grid.MarkRow(7, true);
        m_grid.GetCursor().SetRow(7);
        m_grid.Update(true);
        ok &= Shoot("03-selection-focus.png");

        m_grid.SetScrollPos(0, 3 * m_grid.GetRowHeight());
        m_grid.Update(true);
        ok &= Shoot("04-scrolled-odd.png");
        m_grid.SetScrollPos(0, 0);

        m_grid.Menus().ShowHeaderMenu(QPoint(m_grid.Geometry().GetColumnLeft(4) + 20, 9));
        ok &= ShootMenu("05-header-menu.png");

        m_grid.SetColumnVisible(2, false);
        m_grid.Update(true);
        m_grid.Menus().ShowBodyMenu(QPoint(60, 3 * m_grid.GetRowHeight() + 5));
        ok &= ShootMenu("06-body-menu.png");
        m_grid.SetColumnVisible(2, true);

        m_grid.SetColumnWidth(0, 110);
        m_grid.Update(true);
        ok &= Shoot("07-narrow-ellipsis.png");
        m_grid.SetColumnWidth(0, 220);

        m_grid.SetLeparello(false);
        m_grid.SetHorzGrid(true);
        m_grid.SetColumnEditable(4, false); // cell cursor
        m_grid.GetCursor().Set(5, 4);
        m_grid.Update(true);
        ok &= Shoot("08-cell-cursor-grid-lines.png");

        m_grid.SetLeparello(true);
        m_grid.ShowFooter(true);
        m_grid.SetColumnFooter(0, true);
        m_grid.SetColumnFooter(4, true);
        m_grid.GetFooterTable().GetCell(0, 0)->Set(std::string("30 servers"));
        m_grid.GetFooterTable().GetCell(0, 4)->Set(77);
        m_grid.Update(true);
        ok &= Shoot("09-footer.png");

        m_grid.ShowFooter(false);
        m_grid.Sort(std::vector<CSortKey>{{1, true}, {4, false}});
        m_grid.SetScrollPos(0, 0);
        m_grid.Update(true);
        ok &= Shoot("10-enumeration-images.png");

        // Hiding a column from the body menu leaves the rows sorted and the arrows shown.
        m_grid.Sort(std::vector<CSortKey>{{1, false}, {4, true}});
        m_grid.OnBodyMenuCommand(CTableMenus::ID_HIDE_FIRST + 2, -1, -1);
        ok &= Shoot("11-column-hidden-arrows-kept.png");
        m_grid.OnBodyMenuCommand(CTableMenus::ID_SHOW_FIRST + 2, -1, -1);

        // The title of "Ping" held down with the mouse, under Fusion.
        QWidget& header = m_grid.Header();
        const QPointF title(m_grid.Geometry().GetColumnLeft(4) + 20, 9);
        QMouseEvent press(QEvent::MouseButtonPress, title, header.mapToGlobal(title),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&header, &press);
        ok &= Shoot("12-title-pressed.png");
        m_grid.Header().CancelTracking();

        // Titles that do not sort: the flat look.
        m_grid.EnableHeaderSort(false);
        m_grid.Sort({});
        m_grid.Update(false);
        ok &= Shoot("13-flat-titles.png");

        // In-place editors: the name of one server being typed on, then a ping in the
        // integer editor with its spin buttons.
        m_grid.EnableHeaderSort(true);
        m_grid.SetHorzGrid(true);
        m_grid.SetColumnEditable(0, true);
        m_grid.SetColumnEditable(4, true);
        m_grid.Update(true);
        m_grid.SelectRow(3);
        m_grid.GetCursor().Set(3, 0);
        m_grid.BeginEdit(false);
        if (auto* edit = dynamic_cast<QLineEdit*>(EditorWindow())) {
            edit->setText(edit->text() + QStringLiteral(" (E"));
            edit->setCursorPosition(static_cast<int>(edit->text().size()));
        }
        ok &= ShootEditor("14-text-editor.png");
        m_grid.EndEdit(true);
        m_grid.GetCursor().Set(3, 4);
        m_grid.BeginEdit(false);
        ok &= ShootEditor("15-number-editor.png");
        m_grid.EndEdit(true);

        // The game type of a server in its editor, with the list of types open.
        m_grid.SetColumnEditable(1, true);
        m_grid.Update(true);
        m_grid.GetCursor().Set(3, 1);
        m_grid.BeginEdit(false);
        auto* types = dynamic_cast<CEnumIn*>(EditorWindow());
        if (types) {
            types->ShowDropDown(true);
            QApplication::processEvents();
            ok &= ShootWithPopup("16-enumeration-drop-down.png", types->GetDropDown().Widget());
            types->CloseDropDown(false);
        } else {
            std::printf("FAILED 16-enumeration-drop-down.png: no enumeration editor\n");
            ok = false;
        }
        m_grid.EndEdit(true);

        // Sheet tabs beside the horizontal scroll bar, more than fit, one scrolled to.
        m_grid.SetHorzGrid(false);
        m_grid.ShowBottomTab(true);
        CBottomTabCtrl& tabs = m_grid.BottomTab();
        for (const char* name : {"All servers", "Favorites", "Objective", "Stopwatch", "Checkpoint",
                                 "Empty", "Full", "PunkBuster", "Low ping", "Friends", "History"})
            tabs.AddTab(QString::fromLatin1(name));
        m_grid.Update(true);
        tabs.SelectTab(4);
        ok &= Shoot("17-bottom-tabs.png");
        return ok;
    }

private:
    QString m_folder;
    QWidget m_window;
    CEnum m_gameTypes{"0?\n1?\n2?\n3?\n4?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint\n8?\n9?",
                      GameTypeIcons(), kIcon, kMaskWord};
    CEnum m_punkBuster{"no\nyes", PunkBusterIcons(), kIcon, kMaskWord};
    CTableCtrl m_grid;
    QPixmap m_menuShot;
    QPoint m_menuAt;
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string argument = argc > 1 ? argv[1] : ".";
    if (argument == "--version") {
        std::fputs(VersionReport("lattix-gallery", FARSIGHTER_VERSION).c_str(), stdout);
        return 0;
    }
    if (argc > 2 || argument.starts_with('-')) {
        std::fputs("usage: lattix-gallery [output folder]\n"
                   "Writes pictures of grids in characteristic states as PNG files.\n",
                   argument == "--help" ? stdout : stderr);
        return argument == "--help" ? 0 : 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromStdString(argument);
    QDir().mkpath(folder);
    Gallery gallery(folder);
    return gallery.Run() ? 0 : 1;
}
