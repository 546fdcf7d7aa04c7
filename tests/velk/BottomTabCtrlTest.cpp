#include "velk/BottomTabCtrl.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int kTabsId = 1300;

// A window that records the notifications it gets and may refuse a tab change.
class Receiver : public QWidget, public CVelkNotifyTarget
{
public:
    struct Heard
    {
        QWidget* from;
        int id;
        int code;
        friend bool operator==(const Heard&, const Heard&) = default;
    };
    std::vector<Heard> heard;
    bool refuse = false;
    std::function<void(int code)> onNotify; // runs before the answer

    std::intptr_t OnVelkNotify(VelkNMHDR& header) override
    {
        heard.push_back({header.hwndFrom, header.idFrom, header.code});
        if (onNotify)
            onNotify(header.code);
        return refuse && header.code == CBottomTabCtrl::TCN_SELCHANGING ? 1 : 0;
    }
    std::vector<Heard> Take() { return std::exchange(heard, {}); }
};

struct Strip
{
    Receiver parent;
    CBottomTabCtrl* tabs; // owned by the parent

    explicit Strip(int count, int width = 200)
    {
        tabs = new CBottomTabCtrl(kTabsId, &parent);
        for (int i = 0; i < count; ++i)
            tabs->AddTab(QStringLiteral("Sheet %1").arg(i + 1) + QString(i % 3, 'x'));
        tabs->setGeometry(0, 0, width, tabs->StripHeight());
        parent.resize(width, 50);
        parent.show();
    }
    // A point on the tab clear of its neighbours' overlap.
    QPoint On(int index) const { return {tabs->TabLeft(index) + 5, 3}; }
    void Arrow(bool right) const
    {
        QScrollBar& arrows = tabs->Arrows();
        const int x = right ? arrows.width() - 3 : 3;
        QTest::mouseClick(&arrows, Qt::LeftButton, {}, QPoint(x, arrows.height() / 2));
    }
};

TEST(BottomTabCtrlTest, ArrowsAppearOnlyWhenTheTabsDoNotFitAndScrollTabByTab)
{
    Strip fitting(2, 400);
    EXPECT_FALSE(fitting.tabs->Arrows().isVisible());
    EXPECT_EQ(fitting.tabs->GetScrollRange(), 0);

    Strip s(8);
    ASSERT_TRUE(s.tabs->Arrows().isVisible());
    const auto width = [&](int i) { return s.tabs->GetTab(i).width; };
    ASSERT_NE(width(0), width(1));
    s.Arrow(true);
    EXPECT_EQ(s.tabs->GetScrollOffset(), width(0));
    s.Arrow(true);
    EXPECT_EQ(s.tabs->GetScrollOffset(), width(0) + width(1));
    s.Arrow(false);
    s.Arrow(false);
    s.Arrow(false); // already at the left end
    EXPECT_EQ(s.tabs->GetScrollOffset(), 0);

    // The right arrow stops once the offset reaches the scroll range less 5.
    for (int i = 0; i < 20; ++i)
        s.Arrow(true);
    EXPECT_GE(s.tabs->GetScrollOffset(), s.tabs->GetScrollRange() - 5);
    EXPECT_LE(s.tabs->TabLeft(7) + width(7), s.tabs->width() - s.tabs->Arrows().width());
}

TEST(BottomTabCtrlTest, ClicksHitTheScrolledTabsAndAskTheParentFirst)
{
    Strip s(8);
    s.tabs->OnArrow(CBottomTabCtrl::SB_LINERIGHT);
    s.tabs->OnArrow(CBottomTabCtrl::SB_LINERIGHT);
    using H = Receiver::Heard;
    const H changing{s.tabs, kTabsId, CBottomTabCtrl::TCN_SELCHANGING};
    const H change{s.tabs, kTabsId, CBottomTabCtrl::TCN_SELCHANGE};

    EXPECT_EQ(s.tabs->HitTest(s.On(3)), 3);
    QTest::mouseClick(s.tabs, Qt::LeftButton, {}, s.On(3));
    EXPECT_EQ(s.tabs->GetCurSel(), 3);
    EXPECT_EQ(s.parent.Take(), (std::vector<H>{changing, change}));

    // The current tab, a disabled tab and a click below the strip send nothing.
    s.tabs->EnableTab(4, false);
    QTest::mouseClick(s.tabs, Qt::LeftButton, {}, s.On(3));
    QTest::mouseClick(s.tabs, Qt::LeftButton, {}, s.On(4));
    QTest::mouseClick(s.tabs, Qt::LeftButton, {}, s.On(5) + QPoint(0, s.tabs->StripHeight()));
    EXPECT_TRUE(s.parent.Take().empty());

    s.parent.refuse = true;
    QTest::mouseClick(s.tabs, Qt::LeftButton, {}, s.On(2));
    EXPECT_EQ(s.tabs->GetCurSel(), 3);
    EXPECT_EQ(s.parent.Take(), (std::vector<H>{changing}));

    QTest::mouseClick(s.tabs, Qt::RightButton, {}, s.On(2));
    EXPECT_EQ(s.parent.Take(), (std::vector<H>{{s.tabs, kTabsId, CBottomTabCtrl::NM_RCLICK}}));

    // A parent that removes a tab while it is asked: the point no longer says which tab the
    // user meant, so the click ends there.
    s.parent.refuse = false;
    s.parent.onNotify = [&](int code) {
        if (code == CBottomTabCtrl::TCN_SELCHANGING)
            s.tabs->RemoveTab(0);
    };
    QTest::mouseClick(s.tabs, Qt::LeftButton, {}, s.On(5));
    EXPECT_EQ(s.parent.Take(), (std::vector<H>{changing}));
    EXPECT_EQ(s.tabs->GetTab(s.tabs->GetCurSel()).text, "Sheet 4");
}

TEST(BottomTabCtrlTest, SelectingScrollsIntoViewEditsKeepTheCurrentTabAndScreenReadersSeeNamedTabs)
{
    Strip s(8);
    const int arrowsLeft = s.tabs->width() - s.tabs->Arrows().width();
    EXPECT_EQ(s.tabs->SelectTab(6), 6);
    EXPECT_EQ(s.tabs->TabLeft(6) + s.tabs->GetTab(6).width + 10, arrowsLeft);
    s.tabs->SelectTab(1);
    EXPECT_EQ(s.tabs->TabLeft(1), 0);
    EXPECT_EQ(s.tabs->SelectTab(8), -1);

    s.tabs->RemoveTab(0);
    EXPECT_EQ(s.tabs->GetCurSel(), 0);
    EXPECT_EQ(s.tabs->GetTab(0).text, "Sheet 2x");
    const int before = s.tabs->GetTab(0).width;
    s.tabs->RenameTab(0, "A much longer name");
    EXPECT_GT(s.tabs->GetTab(0).width, before);
    EXPECT_EQ(s.tabs->GetTotalWidth(), [&] {
        int sum = 0;
        for (int i = 0; i < s.tabs->GetTabCount(); ++i)
            sum += s.tabs->GetTab(i).width;
        return sum;
    }());

    // Screen readers see a list of named tabs.
    s.tabs->SelectTab(1);
    s.tabs->EnableTab(2, false);
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(s.tabs);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    EXPECT_EQ(strip->text(QAccessible::Value), "Sheet 3xx");
    ASSERT_EQ(strip->childCount(), 7);
    for (int i = 0; i < 7; ++i) {
        QAccessibleInterface* tab = strip->child(i);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->text(QAccessible::Name), s.tabs->GetTab(i).text);
        EXPECT_EQ(tab->state().selected, i == 1);
        EXPECT_EQ(tab->state().disabled, i == 2);
        EXPECT_EQ(strip->indexOfChild(tab), i);
    }
}

} // namespace
