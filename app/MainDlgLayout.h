#pragma once

class CResizer;
class CSplitCtrl;
class QDialog;
class QString;
class QWidget;

// Control ids of the window's template.
struct MainDlgIds
{
    enum : int
    {
        IDC_FRAGS_PLAYERS_ON_SERVER = 1009,
        IDC_SEARCH_TEXT = 1010,
        IDC_PLAYER_LIST = 1011,
        IDC_SERVER_LIST = 1012,
        IDC_SERVERS_TO_QUERY = 1017,
        IDC_JOIN = 1018,
        IDC_SEARCH = 1019,
        IDC_AUTHOR = 1020,
        IDC_PLAYER_COUNT = 1021,
        IDC_INCLUDE_EMPTY = 1022,
        IDC_TABS = 1023,
        IDC_SPEED = 1024,
        IDC_PROGRESS = 1025,
        IDC_SERVER_COUNT = 1027,
        IDC_QUERY_AREA = 1028,
        IDC_COUNTER_AREA = 1029,
        IDC_SPLITTER = 1030,
        IDC_JOIN_AREA = 1031,
        IDC_DELETE_SEARCH = 1032,
        IDC_HOME_PAGE = 1033,
        IDC_SEARCH_GROUP = 1035,
        IDC_VERSION = 1036,
        IDC_PASSWORD = 1041,
        IDC_QUERY_FAVORITES = 1042,
        IDC_FAVORITES_DIALOG = 1044,
        IDC_MASTER_DIALOG = 1045,
        IDC_INCLUDE_FULL = 1047,
        IDC_OPTIONS = 1049,
        IDC_STATUS_LINE = 1050,
        IDC_SEARCH_HISTORY = 1051,
        IDC_STOP = 1052,
        IDC_QUERY_RECENT = 1071,
        IDC_FRIENDS = 1053,
        IDC_FILTER_TEXT = 1100,
        IDC_HIDE_EMPTY = 1101,
        IDC_HIDE_FULL = 1102,
        IDC_HIDE_PASSWORDED = 1103,
        IDC_FILTER_PUNKBUSTER = 1104,
        IDC_FILTER_GAME_TYPE = 1105,
        IDC_FILTER_MOD = 1106,
        IDC_FILTER_MAX_PING = 1107,
        IDC_FILTER_CLEAR = 1108,
        IDC_QUERY_MASTER = 1004,
        IDC_CLOSE = 2,
    };
};

// The main window's template: its controls with their kinds, texts and places in dialog
// units, and how each follows the window's size. The filter bar sits over the grids, in
// both views. The three grids come in place of their placeholders and end up over one area, of
// which the view shows either the player list or the server list with the players of a server
// beside it.
class CMainDlgLayout
{
public:
    // Gives window its icon, creates the template's controls on it, fitted to its font, and
    // sizes the window to the template. The tab control becomes a frame with the tabs on its top
    // edge. The program's name links to the About box, the other link to the README.
    static void Create(QDialog& window);
    // How much wider the window's dialog units are than those of the 8-point dialog font
    // that the template and the grids' column widths were drawn for.
    static double WidthScale(const QDialog& window);
    // Makes a click on the program's name open the About box over window, which names the
    // two files.
    static void ConnectAbout(QDialog& window, const QString& settingsPath,
                             const QString& favoritesPath);
    // Stretches the three grids and the splitter over one area, anchors every control in
    // resizer (the splitter between the server list and the players of a server) and
    // makes the window's present size its least.
    static void Anchor(QDialog& window, CResizer& resizer, CSplitCtrl& splitter, QWidget& players,
                       QWidget& servers, QWidget& serverPlayers);
};
