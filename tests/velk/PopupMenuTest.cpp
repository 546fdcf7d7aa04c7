#include "velk/PopupMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Item = CPopupMenu::Item;

constexpr unsigned kOff = CPopupMenu::kGrayed | CPopupMenu::kDisabled;
constexpr unsigned kOn = CPopupMenu::kChecked;
constexpr unsigned kSep = CPopupMenu::kSeparator;

// The grid's body menu and the application's row items.
constexpr const char* kBodyItems =
    "Copy cell;Copy;Copy all;Select all;-;Show column;Hide column;Restore default;-;Save as ...;";
constexpr unsigned kBodyFirst = 57345;

// The items of a menu as "text" (with "[off]" and "[on]" marks), "-" for separators and
// "text>" for submenu items, so that whole menus compare at once.
std::vector<std::string> Describe(const QMenu& menu)
{
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            items.push_back("-");
            continue;
        }
        std::string text = action->text().toStdString();
        if (!action->isEnabled())
            text += "[off]";
        if (action->isChecked())
            text += "[on]";
        if (QMenu::menuInAction(action))
            text += ">";
        items.push_back(text);
    }
    return items;
}

std::vector<unsigned> Ids(const CPopupMenu& menu)
{
    std::vector<unsigned> ids;
    for (int pos = 0; pos < menu.ItemCount(); ++pos)
        ids.push_back(menu.ItemId(pos));
    return ids;
}

using Texts = std::vector<std::string>;

TEST(PopupMenuParseTest, SplitsItemsAndStripsPrefixes)
{
    struct Case
    {
        std::string items;
        std::vector<Item> expected;
    };
    const std::vector<Case> cases = {
        {"A;B", {{0, "A"}, {0, "B"}}},
        {"A;-;B", {{0, "A"}, {kSep, ""}, {0, "B"}}},
        {"=~Opt", {{kOff | kOn, "Opt"}}},
        {"~=Opt", {{kOff | kOn, "Opt"}}},
        // Repeated prefixes combine, they do not add up to other flags.
        {"~~==Opt", {{kOff | kOn, "Opt"}}},
        // Only the whole item "-" is a separator.
        {"--;=-;-x", {{0, "--"}, {kOn, "-"}, {0, "-x"}}},
        // Prefixes count only at the start; the mnemonic mark stays.
        {"a~b;&All columns", {{0, "a~b"}, {0, "&All columns"}}},
        // A lone prefix is an item with an empty text.
        {"~", {{kOff, ""}}},
        // The list ends at the first empty item.
        {"", {}},
        {";A", {}},
        {"A;;B", {{0, "A"}}},
        {"A;", {{0, "A"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items);
        EXPECT_EQ(CPopupMenu::ParseItems(c.items), c.expected);
    }
}

TEST(PopupMenuBuildTest, ItemsAreNumberedSeparatorsIncludedAndPrefixesBecomeStates)
{
    CPopupMenu menu;
    EXPECT_EQ(menu.AppendItems(kBodyItems, kBodyFirst), 10);
    // Separators use up their ids but carry no command.
    EXPECT_EQ(Ids(menu), (std::vector<unsigned>{57345, 57346, 57347, 57348, 0, 57350, 57351, 57352,
                                                0, 57354}));
    EXPECT_EQ(menu.ItemState(57349, CPopupMenu::kByCommand), CPopupMenu::kNoItem);

    CPopupMenu states;
    ASSERT_EQ(states.AppendItems("~Off;=On;~=Both;Plain;;Never", 1), 4);
    EXPECT_EQ(states.ItemState(3, 0), kOff | kOn);
    EXPECT_FALSE(states.Menu().actions()[3]->isCheckable()); // a plain item shows no check box
    // Single items take their text as it is (column titles may hold ";" or "~").
    states.AppendItem(0, 57444, "~Name;Map");
    states.AppendItem(kSep, 5, "ignored");
    states.AppendItem(CPopupMenu::kGrayed, 57445, "-");
    EXPECT_EQ(Describe(states.Menu()),
              (Texts{"Off[off]", "On[on]", "Both[off][on]", "Plain", "~Name;Map", "-", "-[off]"}));
    EXPECT_EQ(Ids(states), (std::vector<unsigned>{1, 2, 3, 4, 57444, 0, 57445}));
}

TEST(PopupMenuInsertTest, ItemsGoBeforeAPositionOrACommandAnywhere)
{
    struct Case
    {
        const char* what;
        unsigned where;
        const char* items;
        unsigned firstId;
        unsigned flags;
        int inserted;
        std::string menu; // the items' descriptions joined by "|"
        std::vector<unsigned> ids;
    };
    const unsigned kByPos = CPopupMenu::kByPosition;
    const unsigned kGrayed = CPopupMenu::kGrayed;
    const std::vector<Case> cases = {
        {"by position, flags on each",
         1,
         "X;=Y",
         10,
         kByPos | kGrayed,
         2,
         "A|X[off]|Y[off][on]|B|C",
         {1, 10, 11, 2, 3}},
        {"past the end appends", 99, "Z", 20, kByPos, 1, "A|B|C|Z", {1, 2, 3, 20}},
        {"by command", 3, "X;Y", 30, 0, 2, "A|B|X|Y|C", {1, 2, 30, 31, 3}},
        // New ids equal to the command looked up do not move the place.
        {"ids like the command", 2, "X;Y;Z", 2, 0, 3, "A|X|Y|Z|B|C", {1, 2, 3, 4, 2, 3}},
        {"no such command", 555, "X", 40, 0, 0, "A|B|C", {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPopupMenu menu;
        menu.AppendItems("A;B;C", 1);
        EXPECT_EQ(menu.InsertItems(c.where, c.items, c.firstId, c.flags), c.inserted);
        std::string described;
        for (const std::string& item : Describe(menu.Menu()))
            described += (described.empty() ? "" : "|") + item;
        EXPECT_EQ(described, c.menu);
        EXPECT_EQ(Ids(menu), c.ids);
    }

    // A command inside a submenu inserts into that submenu.
    CPopupMenu menu;
    menu.AppendItems("A;B", 99);
    CPopupMenu sub;
    sub.AppendItems("S1;S2", 200);
    ASSERT_TRUE(menu.AttachSubmenu(99, sub));
    EXPECT_EQ(menu.InsertItems(201, "New", 300, 0), 1);
    EXPECT_EQ(Describe(*menu.SubMenu(0)), (Texts{"S1", "New", "S2"}));
    EXPECT_FALSE(menu.InsertItem(555, 0, 1, "X"));
    EXPECT_EQ(menu.ItemCount(), 2);
}

TEST(PopupMenuSubmenuTest, AttachMovesTheMenuAndLeavesSubEmptyForReuse)
{
    CPopupMenu menu;
    menu.AppendItems(kBodyItems, kBodyFirst);

    CPopupMenu sub;
    sub.AppendItems("&All columns;-", 57443);
    sub.AppendItem(0, 57444 + 7, "Map");
    QPointer<QMenu> showMenu = &sub.Menu();
    ASSERT_TRUE(menu.AttachSubmenu(57350, sub));

    EXPECT_EQ(menu.ItemCount(), 10);
    EXPECT_EQ(Describe(menu.Menu())[5], "Show column>");
    EXPECT_EQ(menu.SubMenu(5), showMenu.data());
    EXPECT_EQ(Describe(*menu.SubMenu(5)), (Texts{"&All columns", "-", "Map"}));
    EXPECT_EQ(menu.ItemState(57350, 0), CPopupMenu::kPopup);
    // Commands inside the submenu are found from the top menu.
    EXPECT_EQ(menu.ItemText(57451, 0), "Map");

    // sub holds a fresh menu: fill it again and attach it to the next item.
    EXPECT_EQ(sub.ItemCount(), 0);
    EXPECT_NE(&sub.Menu(), showMenu.data());
    sub.AppendItems("~(none)", 57844);
    ASSERT_TRUE(menu.AttachSubmenu(57351, sub));
    EXPECT_EQ(Describe(*menu.SubMenu(6)), (Texts{"(none)[off]"}));
    EXPECT_EQ(Describe(*menu.SubMenu(5)), (Texts{"&All columns", "-", "Map"}));

    // No such item, or the menu itself: nothing happens and sub keeps its items.
    sub.AppendItems("X", 10);
    EXPECT_FALSE(menu.AttachSubmenu(99, sub));
    EXPECT_FALSE(menu.AttachSubmenu(57354, menu));
    EXPECT_EQ(sub.ItemCount(), 1);
    EXPECT_EQ(menu.ItemCount(), 10);
}

TEST(PopupMenuSubmenuTest, SubmenusLiveAndDieWithTheirItem)
{
    QPointer<QMenu> replaced;
    QPointer<QMenu> attached;
    {
        CPopupMenu menu;
        menu.AppendItems("A;B", 1);
        CPopupMenu sub;
        sub.AppendItems("X", 10);
        replaced = &sub.Menu();
        ASSERT_TRUE(menu.AttachSubmenu(1, sub));
        // Attaching onto an item that already opens a submenu replaces that submenu.
        sub.AppendItems("Y", 20);
        attached = &sub.Menu();
        ASSERT_TRUE(menu.AttachSubmenu(1, sub));
        EXPECT_TRUE(replaced.isNull());
        EXPECT_EQ(menu.SubMenu(0), attached.data());
        EXPECT_EQ(menu.ItemCount(), 2);

        // Deleting the item takes its submenu along.
        CPopupMenu other;
        other.AppendItems("Z", 30);
        QPointer<QMenu> deleted = &other.Menu();
        ASSERT_TRUE(menu.AttachSubmenu(2, other));
        EXPECT_TRUE(menu.DeleteItem(2, 0));
        EXPECT_TRUE(deleted.isNull());
        EXPECT_EQ(menu.ItemCount(), 1);
    }
    // The top menu owned what was attached to it.
    EXPECT_TRUE(attached.isNull());
}

TEST(PopupMenuItemTest, EnableCheckAndDeleteByCommandOrPosition)
{
    CPopupMenu menu;
    menu.AppendItems("Copy cell;Copy;Copy all;Select all", 57345);
    EXPECT_TRUE(menu.EnableItem(57345, CPopupMenu::kGrayed));
    EXPECT_TRUE(menu.EnableItem(3, CPopupMenu::kByPosition | CPopupMenu::kDisabled));
    EXPECT_TRUE(menu.CheckItem(1, CPopupMenu::kByPosition | CPopupMenu::kChecked));
    EXPECT_EQ(Describe(menu.Menu()),
              (Texts{"Copy cell[off]", "Copy[on]", "Copy all", "Select all[off]"}));
    EXPECT_TRUE(menu.EnableItem(57345, CPopupMenu::kEnabled));
    EXPECT_TRUE(menu.DeleteItem(57346, CPopupMenu::kByCommand));
    EXPECT_TRUE(menu.DeleteItem(2, CPopupMenu::kByPosition));
    EXPECT_EQ(Describe(menu.Menu()), (Texts{"Copy cell", "Copy all"}));

    EXPECT_FALSE(menu.DeleteItem(57346, 0));
    EXPECT_FALSE(menu.EnableItem(5, CPopupMenu::kByPosition));
}

TEST(PopupMenuItemTest, RadioMarkOnOneItemOfARange)
{
    CPopupMenu menu;
    menu.AppendItems("Ascending;Descending;No sort;-;Hide", 57357);
    ASSERT_TRUE(menu.CheckRadioItem(57357, 57359, 57358, 0));
    EXPECT_EQ(Describe(menu.Menu()),
              (Texts{"Ascending", "Descending[on]", "No sort", "-", "Hide"}));
    const QList<QAction*> actions = menu.Menu().actions();
    // The three share one exclusive group (drawn as radio marks); "Hide" is no part of it.
    ASSERT_NE(actions[0]->actionGroup(), nullptr);
    EXPECT_TRUE(actions[0]->actionGroup()->isExclusive());
    EXPECT_EQ(actions[0]->actionGroup(), actions[2]->actionGroup());
    EXPECT_EQ(actions[4]->actionGroup(), nullptr);

    // Moving the mark by position.
    ASSERT_TRUE(menu.CheckRadioItem(0, 2, 2, CPopupMenu::kByPosition));
    EXPECT_EQ(Describe(menu.Menu()),
              (Texts{"Ascending", "Descending", "No sort[on]", "-", "Hide"}));

    EXPECT_FALSE(menu.CheckRadioItem(57357, 57359, 57361, 0));           // outside the range
    EXPECT_FALSE(menu.CheckRadioItem(57357, 57400, 57399, 0));           // no such item
    EXPECT_FALSE(menu.CheckRadioItem(0, 4, 3, CPopupMenu::kByPosition)); // a separator
    EXPECT_EQ(Describe(menu.Menu()),
              (Texts{"Ascending", "Descending", "No sort[on]", "-", "Hide"}));
}

// Track with the showing replaced: records where the menu would appear and picks an item.
class CScriptedMenu : public CPopupMenu
{
public:
    std::function<QAction*(QMenu&)> choose;
    int shown = 0;
    QPoint shownAt;

protected:
    QAction* ExecMenu(QMenu& menu, const QPoint& globalPos, QWidget*) override
    {
        ++shown;
        shownAt = globalPos;
        return choose ? choose(menu) : nullptr;
    }
};

QAction* ActionWithText(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
        if (QMenu* sub = QMenu::menuInAction(action))
            if (QAction* found = ActionWithText(*sub, text))
                return found;
    }
    return nullptr;
}

TEST(PopupMenuTrackTest, PlacesTheMenuByTheFlagsAndGivesNoCommandForForeignActions)
{
    CScriptedMenu menu;
    menu.AppendItems("Copy cell;Copy;Copy all", 1);
    const QSize size = menu.Menu().sizeHint();
    ASSERT_GT(size.width(), 0);
    menu.Track(nullptr, 500, 400, 0);
    EXPECT_EQ(menu.shownAt, QPoint(500, 400));
    menu.Track(nullptr, 500, 400, CPopupMenu::kTrackRightAlign | CPopupMenu::kTrackBottomAlign);
    EXPECT_EQ(menu.shownAt, QPoint(500 - size.width(), 400 - size.height()));
    menu.Track(nullptr, 500, 400, CPopupMenu::kTrackCenterAlign | CPopupMenu::kTrackVCenterAlign);
    EXPECT_EQ(menu.shownAt, QPoint(500 - size.width() / 2, 400 - size.height() / 2));

    // An action that did not come from an item string carries no command.
    menu.choose = [](QMenu& m) { return m.addAction("foreign"); };
    EXPECT_EQ(menu.Track(nullptr, 10, 20, 0), 0u);

    CScriptedMenu empty;
    EXPECT_EQ(empty.Track(nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(empty.shown, 0); // nothing to show
}

// Acts on the menu that Track shows, from inside Track's event loop, the way a user would.
// Should the menu stay open, it is closed after five seconds so that the test fails
// instead of hanging.
class CMenuUser
{
public:
    explicit CMenuUser(std::function<void(QMenu&)> act) : m_act(std::move(act))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(5);
    }
    bool Acted() const { return m_acted; }

private:
    void Poll()
    {
        if (!m_acted) {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                m_acted = true;
                m_act(*menu);
            }
        }
        if (m_deadline.hasExpired()) {
            m_timer.stop();
            while (QWidget* open = QApplication::activePopupWidget())
                open->close();
        }
    }

    std::function<void(QMenu&)> m_act;
    QTimer m_timer;
    QDeadlineTimer m_deadline{5000};
    bool m_acted = false;
};

TEST(PopupMenuTrackTest, ShownMenuGivesTheUsersChoiceOrZero)
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    CPopupMenu menu;
    menu.AppendItems("Add to favorites;-;Show server info;Show column", 57341);
    CPopupMenu sub;
    sub.AppendItems("&All columns;-", 57443);
    sub.AppendItem(0, 57447, "Ping");
    ASSERT_TRUE(menu.AttachSubmenu(57344, sub));

    struct Case
    {
        const char* what;
        std::function<void(QMenu&)> act;
        unsigned command;
    };
    const std::vector<Case> cases = {
        {"click",
         [](QMenu& m) {
             const QRect item = m.actionGeometry(ActionWithText(m, "Show server info"));
             QTest::mouseClick(&m, Qt::LeftButton, {}, item.center());
         },
         57343},
        {"return",
         [](QMenu& m) {
             m.setActiveAction(ActionWithText(m, "Add to favorites"));
             QTest::keyClick(&m, Qt::Key_Return);
         },
         57341},
        {"item of a submenu",
         [](QMenu& m) {
             m.setActiveAction(ActionWithText(m, "Show column"));
             QTest::keyClick(&m, Qt::Key_Right); // opens the submenu
             auto* opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
             ASSERT_TRUE(opened != nullptr && opened != &m);
             opened->setActiveAction(ActionWithText(*opened, "Ping"));
             QTest::keyClick(opened, Qt::Key_Return);
         },
         57447},
        {"click outside",
         [](QMenu& m) { QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(-20, m.height() + 20)); },
         0},
        {"escape", [](QMenu& m) { QTest::keyClick(&m, Qt::Key_Escape); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QWindow* owner = nullptr;
        CMenuUser user([&](QMenu& m) {
            owner = m.windowHandle() ? m.windowHandle()->transientParent() : nullptr;
            c.act(m);
        });
        EXPECT_EQ(menu.Track(&window, 100, 100, CPopupMenu::kTrackRightButton), c.command);
        EXPECT_TRUE(user.Acted());
        EXPECT_EQ(owner, window.windowHandle()); // the menu belongs to its window
    }
}

} // namespace
