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
using Texts = std::vector<std::string>;
using Ids = std::vector<unsigned>;

constexpr unsigned kOff = CPopupMenu::kGrayed | CPopupMenu::kDisabled;
constexpr unsigned kOn = CPopupMenu::kChecked;
constexpr unsigned kSep = CPopupMenu::kSeparator;
constexpr unsigned kByPos = CPopupMenu::kByPosition;

// The items of a menu as "text" (with "[off]" and "[on]" marks), "-" for separators and
// "text>" for submenu items, so that whole menus compare at once.
Texts Describe(const QMenu& menu)
{
    Texts items;
    for (const QAction* action : menu.actions()) {
        std::string text = action->isSeparator() ? "-" : action->text().toStdString();
        if (!action->isSeparator() && !action->isEnabled())
            text += "[off]";
        if (action->isChecked())
            text += "[on]";
        if (QMenu::menuInAction(action))
            text += ">";
        items.push_back(text);
    }
    return items;
}

Ids IdsOf(const CPopupMenu& menu)
{
    Ids ids;
    for (int pos = 0; pos < menu.ItemCount(); ++pos)
        ids.push_back(menu.ItemId(pos));
    return ids;
}

TEST(PopupMenuTest, ParseSplitsItemsAndStripsPrefixes)
{
    const std::vector<std::pair<std::string, std::vector<Item>>> cases = {
        {"A;-;B", {{0, "A"}, {kSep, ""}, {0, "B"}}},
        {"=~Opt", {{kOff | kOn, "Opt"}}},
        // Repeated prefixes combine, they do not add up to other flags.
        {"~~==Opt", {{kOff | kOn, "Opt"}}},
        // Only the whole item "-" is a separator.
        {"--;=-;-x", {{0, "--"}, {kOn, "-"}, {0, "-x"}}},
        // Prefixes count only at the start; the mnemonic mark stays.
        {"a~b;&All columns", {{0, "a~b"}, {0, "&All columns"}}},
        {"~", {{kOff, ""}}}, // a lone prefix is an item with an empty text
        // The list ends at the first empty item.
        {"", {}},
        {";A", {}},
        {"A;;B", {{0, "A"}}},
        {"A;", {{0, "A"}}},
    };
    for (const auto& [items, expected] : cases)
        EXPECT_EQ(CPopupMenu::ParseItems(items), expected) << items;
}

TEST(PopupMenuTest, ItemsAreNumberedPrefixesBecomeStatesAndItemsAreEnabledCheckedAndDeleted)
{
    CPopupMenu menu;
    EXPECT_EQ(menu.AppendItems("Copy;-;Show column", 57345), 3);
    // Separators use up their ids but carry no command.
    EXPECT_EQ(IdsOf(menu), (Ids{57345, 0, 57347}));
    EXPECT_EQ(menu.ItemState(57346, CPopupMenu::kByCommand), CPopupMenu::kNoItem);

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
    EXPECT_EQ(IdsOf(states), (Ids{1, 2, 3, 4, 57444, 0, 57445}));

    // Enabling, checking, deleting and radio marks, by command or by position.
    CPopupMenu edits;
    edits.AppendItems("Copy cell;Copy;Copy all;Select all", 57345);
    EXPECT_TRUE(edits.EnableItem(57345, CPopupMenu::kGrayed));
    EXPECT_TRUE(edits.EnableItem(3, kByPos | CPopupMenu::kDisabled));
    EXPECT_TRUE(edits.CheckItem(1, kByPos | CPopupMenu::kChecked));
    EXPECT_EQ(Describe(edits.Menu()),
              (Texts{"Copy cell[off]", "Copy[on]", "Copy all", "Select all[off]"}));
    EXPECT_TRUE(edits.EnableItem(57345, CPopupMenu::kEnabled));
    EXPECT_TRUE(edits.DeleteItem(57346, CPopupMenu::kByCommand));
    EXPECT_TRUE(edits.DeleteItem(2, kByPos));
    EXPECT_EQ(Describe(edits.Menu()), (Texts{"Copy cell", "Copy all"}));
    EXPECT_FALSE(edits.DeleteItem(57346, 0));
    EXPECT_FALSE(edits.EnableItem(5, kByPos));

    CPopupMenu sort;
    sort.AppendItems("Ascending;Descending;No sort;-;Hide", 57357);
    ASSERT_TRUE(sort.CheckRadioItem(57357, 57359, 57358, 0));
    const QList<QAction*> actions = sort.Menu().actions();
    // The three share one exclusive group (drawn as radio marks); "Hide" is no part of it.
    ASSERT_NE(actions[0]->actionGroup(), nullptr);
    EXPECT_TRUE(actions[0]->actionGroup()->isExclusive());
    EXPECT_EQ(actions[0]->actionGroup(), actions[2]->actionGroup());
    EXPECT_EQ(actions[4]->actionGroup(), nullptr);
    ASSERT_TRUE(sort.CheckRadioItem(0, 2, 2, kByPos));
    EXPECT_FALSE(sort.CheckRadioItem(57357, 57359, 57361, 0)); // outside the range
    EXPECT_FALSE(sort.CheckRadioItem(57357, 57400, 57399, 0)); // no such item
    EXPECT_FALSE(sort.CheckRadioItem(0, 4, 3, kByPos));        // a separator
    EXPECT_EQ(Describe(sort.Menu()),
              (Texts{"Ascending", "Descending", "No sort[on]", "-", "Hide"}));
}

TEST(PopupMenuTest, InsertGoesBeforeAPositionOrACommandAnywhereAndSubmenusMoveIntoTheirItem)
{
    struct Case
    {
        unsigned where;
        const char* items;
        unsigned firstId, flags;
        int inserted;
        Texts menu;
        Ids ids;
    };
    const std::vector<Case> cases = {
        // By position, flags on each.
        {1,
         "X;=Y",
         10,
         kByPos | CPopupMenu::kGrayed,
         2,
         {"A", "X[off]", "Y[off][on]", "B"},
         {1, 10, 11, 2}},
        {99, "Z", 20, kByPos, 1, {"A", "B", "Z"}, {1, 2, 20}}, // past the end appends
        {2, "X;Y", 30, 0, 2, {"A", "X", "Y", "B"}, {1, 30, 31, 2}},
        // New ids equal to the command looked up do not move the place.
        {2, "X;Y", 2, 0, 2, {"A", "X", "Y", "B"}, {1, 2, 3, 2}},
        {555, "X", 40, 0, 0, {"A", "B"}, {1, 2}}, // no such command
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items + std::to_string(c.where));
        CPopupMenu menu;
        menu.AppendItems("A;B", 1);
        EXPECT_EQ(menu.InsertItems(c.where, c.items, c.firstId, c.flags), c.inserted);
        EXPECT_EQ(Describe(menu.Menu()), c.menu);
        EXPECT_EQ(IdsOf(menu), c.ids);
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

    // Attaching moves the menu and leaves sub empty for reuse; submenus live and die with
    // their item.
    QPointer<QMenu> kept;
    {
        CPopupMenu menu;
        menu.AppendItems("Show column;Hide column;Save as ...", 57350);
        CPopupMenu sub;
        sub.AppendItems("&All columns;-", 57443);
        sub.AppendItem(0, 57451, "Map");
        QPointer<QMenu> show = &sub.Menu();
        ASSERT_TRUE(menu.AttachSubmenu(57350, sub));
        EXPECT_EQ(Describe(menu.Menu())[0], "Show column>");
        EXPECT_EQ(menu.SubMenu(0), show.data());
        EXPECT_EQ(menu.ItemState(57350, 0), CPopupMenu::kPopup);
        EXPECT_EQ(menu.ItemText(57451, 0), "Map"); // found from the top menu
        EXPECT_EQ(sub.ItemCount(), 0);
        EXPECT_NE(&sub.Menu(), show.data());

        // Attaching onto an item that already opens a submenu replaces that submenu.
        sub.AppendItems("~(none)", 57844);
        kept = &sub.Menu();
        ASSERT_TRUE(menu.AttachSubmenu(57350, sub));
        EXPECT_TRUE(show.isNull());
        EXPECT_EQ(Describe(*menu.SubMenu(0)), (Texts{"(none)[off]"}));

        // No such item, or the menu itself: nothing happens and sub keeps its items.
        sub.AppendItems("X", 10);
        EXPECT_FALSE(menu.AttachSubmenu(99, sub));
        EXPECT_FALSE(menu.AttachSubmenu(57352, menu));
        EXPECT_EQ(sub.ItemCount(), 1);

        // Deleting the item takes its submenu along.
        QPointer<QMenu> deleted = &sub.Menu();
        ASSERT_TRUE(menu.AttachSubmenu(57351, sub));
        EXPECT_TRUE(menu.DeleteItem(57351, 0));
        EXPECT_TRUE(deleted.isNull());
        EXPECT_EQ(menu.ItemCount(), 2);
    }
    EXPECT_TRUE(kept.isNull()); // the top menu owned what was attached to it
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

TEST(PopupMenuTest, TrackPlacesTheMenuByTheFlagsAndGivesNoCommandForForeignActions)
{
    CScriptedMenu menu;
    menu.AppendItems("Copy cell;Copy;Copy all", 1);
    const QSize size = menu.Menu().sizeHint();
    menu.Track(nullptr, 500, 400, 0);
    EXPECT_EQ(menu.shownAt, QPoint(500, 400));
    menu.Track(nullptr, 500, 400, CPopupMenu::kTrackRightAlign | CPopupMenu::kTrackBottomAlign);
    EXPECT_EQ(menu.shownAt, QPoint(500 - size.width(), 400 - size.height()));
    menu.Track(nullptr, 500, 400, CPopupMenu::kTrackCenterAlign | CPopupMenu::kTrackVCenterAlign);
    EXPECT_EQ(menu.shownAt, QPoint(500 - size.width() / 2, 400 - size.height() / 2));
    menu.choose = [](QMenu& m) { return m.addAction("foreign"); };
    EXPECT_EQ(menu.Track(nullptr, 10, 20, 0), 0u);

    CScriptedMenu empty;
    EXPECT_EQ(empty.Track(nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(empty.shown, 0); // nothing to show
}

QAction* ActionWithText(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
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

TEST(PopupMenuTest, ShownMenuGivesTheUsersChoiceOrZero)
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    CPopupMenu menu;
    menu.AppendItems("Add to favorites;-;Show server info;Show column", 57341);
    CPopupMenu sub;
    sub.AppendItems("&All columns;-", 57443);
    sub.AppendItem(0, 57447, "Ping");
    ASSERT_TRUE(menu.AttachSubmenu(57344, sub));
    const std::vector<std::pair<std::function<void(QMenu&)>, unsigned>> cases = {
        {[](QMenu& m) {
             const QRect item = m.actionGeometry(ActionWithText(m, "Show server info"));
             QTest::mouseClick(&m, Qt::LeftButton, {}, item.center());
         },
         57343},
        {[](QMenu& m) { // an item of a submenu, by the keyboard
             m.setActiveAction(ActionWithText(m, "Show column"));
             QTest::keyClick(&m, Qt::Key_Right); // opens the submenu
             auto* opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
             ASSERT_TRUE(opened != nullptr && opened != &m);
             opened->setActiveAction(ActionWithText(*opened, "Ping"));
             QTest::keyClick(opened, Qt::Key_Return);
         },
         57447},
        {[](QMenu& m) { QTest::keyClick(&m, Qt::Key_Escape); }, 0},
    };
    for (const auto& [act, command] : cases) {
        SCOPED_TRACE(command);
        const QWindow* owner = nullptr;
        CMenuUser user([&](QMenu& m) {
            owner = m.windowHandle() ? m.windowHandle()->transientParent() : nullptr;
            act(m);
        });
        EXPECT_EQ(menu.Track(&window, 100, 100, CPopupMenu::kTrackRightButton), command);
        EXPECT_TRUE(user.Acted());
        EXPECT_EQ(owner, window.windowHandle()); // the menu belongs to its window
    }
}

} // namespace
