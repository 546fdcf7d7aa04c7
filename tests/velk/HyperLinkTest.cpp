#include "velk/HyperLink.h"

#include "velk/Contrast.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <QUrl>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const QString kHome = "https://farsighter.example/";

// A desktop that answers as told and logs what the link asked of it.
struct FakeDesktop
{
    bool shellOpens = true;
    QString browser;
    bool browserStarts = true;
    QStringList log;

    CLinkDesktop Desktop()
    {
        return {[this](const QUrl& url) {
                    log << "open " + url.toString();
                    return shellOpens;
                },
                [this] { return browser; },
                [this](const QString& program, const QStringList& arguments) {
                    log << "start " + (QStringList{program} + arguments).join('|');
                    return browserStarts;
                },
                [this](QWidget*, const QString& text) { log << "warn " + text; }};
    }
};

TEST(HyperLinkTest, AttachTakesTextOrTargetAndFitsKeepingTheAlignedEdge)
{
    struct Case
    {
        QString text, url;
        Qt::Alignment align;
        int flags;
    };
    const std::vector<Case> cases = {{"Farsighter", kHome, Qt::AlignLeft | Qt::AlignTop, 21},
                                     {"Farsighter", "", Qt::AlignRight | Qt::AlignTop, 21},
                                     {"", kHome, Qt::AlignHCenter | Qt::AlignVCenter, 21},
                                     {"Farsighter", kHome, Qt::AlignLeft, 16 + 32}};
    const QRect placed(100, 50, 200, 40);
    for (const Case& c : cases) {
        SCOPED_TRACE((c.text + "|" + c.url).toStdString());
        CHyperLink link(c.text);
        link.m_strURL = c.url;
        link.m_nFlags = c.flags;
        link.setAlignment(c.align);
        link.setGeometry(placed);
        link.Attach();

        // The missing one of text and target is the other.
        EXPECT_EQ(link.text(), c.text.isEmpty() ? c.url : c.text);
        EXPECT_EQ(link.m_strURL, c.url.isEmpty() ? c.text : c.url);
        EXPECT_EQ(link.font().underline(), (c.flags & CHyperLink::kUnderline) != 0);
        EXPECT_EQ(link.cursor().shape(),
                  (c.flags & CHyperLink::kNoHandCursor) ? Qt::ArrowCursor : Qt::PointingHandCursor);
        const QRect box = link.geometry();
        if (!(c.flags & CHyperLink::kFitToText)) {
            EXPECT_EQ(box, placed);
            continue;
        }
        EXPECT_EQ(box.size(), QFontMetrics(link.font()).size(0, link.text()));
        const int x = c.align & Qt::AlignRight     ? box.right() - placed.right()
                      : c.align & Qt::AlignHCenter ? box.center().x() - placed.center().x()
                                                   : box.left() - placed.left();
        const int y = c.align & Qt::AlignVCenter ? box.center().y() - placed.center().y()
                                                 : box.top() - placed.top();
        EXPECT_LE(std::abs(x), 1);
        EXPECT_LE(std::abs(y), 1);
    }
}

TEST(HyperLinkTest, DarkWindowsHoverPressReleaseAndSpaceDriveColoursFocusAndOpening)
{
    QWidget window;
    window.resize(400, 200);
    QWidget other(&window);
    other.setGeometry(200, 100, 100, 50);
    other.setFocusPolicy(Qt::StrongFocus);
    FakeDesktop fake;
    CHyperLink link("Farsighter", &window);
    link.m_strURL = kHome;
    link.m_nFlags |= CHyperLink::kUseHoverColor;
    link.SetDesktop(fake.Desktop());
    link.Attach();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QPoint inside = link.rect().center();
    const auto color = [&] { return link.palette().color(QPalette::WindowText); };
    // When the window turns dark the link keeps its blue, in a shade that reads there.
    const QPalette light = window.palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    window.setPalette(dark);
    EXPECT_GE(CContrast::Ratio(color(), dark.color(QPalette::Window)), CContrast::kText);
    EXPECT_GT(color().blue(), std::max(color().red(), color().green()) + 60);
    window.setPalette(light);
    EXPECT_EQ(color(), CHyperLink::kLinkColor.ToQColor());
    QTest::mouseMove(&link, inside);
    EXPECT_EQ(color(), CHyperLink::kHoverColor.ToQColor());
    QTest::mouseMove(&other, other.rect().center());
    EXPECT_EQ(color(), CHyperLink::kLinkColor.ToQColor());
    QHelpEvent help(QEvent::ToolTip, inside, link.mapToGlobal(inside));
    QApplication::sendEvent(&link, &help);
    EXPECT_EQ(QToolTip::text(), kHome);
    QToolTip::hideText();

    // The press takes the focus; the release opens.
    QTest::mousePress(&link, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(link.hasFocus());
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(color(), CHyperLink::kActiveColor.ToQColor());
    QTest::mouseRelease(&link, Qt::LeftButton, {}, inside);
    EXPECT_EQ(fake.log, QStringList{"open " + kHome});
    // A press dragged off the link and released outside opens nothing.
    QTest::mousePress(&link, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, link.rect().bottomRight() + QPoint(20, 5));
    EXPECT_EQ(fake.log.size(), 1);
    other.setFocus();
    EXPECT_EQ(color(), CHyperLink::kVisitedColor.ToQColor());

    link.setFocus();
    QTest::keyClick(&link, Qt::Key_Space);
    QTest::keyClick(&link, Qt::Key_A);
    EXPECT_EQ(fake.log.size(), 2);
    link.m_nFlags |= CHyperLink::kOpenOnPress;
    QTest::mouseClick(&link, Qt::LeftButton, {}, inside);
    EXPECT_EQ(fake.log.size(), 3);
}

TEST(HyperLinkTest, ScreenReadersSeeALinkThatTheirPressActionOpens)
{
    struct Case
    {
        bool enabled, shellOpens;
        QStringList log;
        bool traversed;
    };
    const std::vector<Case> cases = {
        {true, true, {"open " + kHome}, true},
        {true,
         false,
         {"open " + kHome, "warn Can't open link:\n\n" + CHyperLink::ErrorText(31)},
         false},
        {false, true, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log.join(',').toStdString());
        FakeDesktop fake;
        fake.shellOpens = c.shellOpens;
        CHyperLink link("Farsighter");
        link.m_strURL = kHome;
        link.SetDesktop(fake.Desktop());
        link.Attach();
        link.setEnabled(c.enabled);
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&link);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->role(), QAccessible::Link);
        EXPECT_EQ(view->text(QAccessible::Name), "Farsighter");
        EXPECT_EQ(view->text(QAccessible::Description), kHome);
        EXPECT_TRUE(view->state().linked);
        ASSERT_TRUE(view->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        view->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(fake.log, c.log);
        EXPECT_EQ(view->state().traversed, c.traversed);
    }
}

TEST(HyperLinkTest, ShellFailureFallsBackOnTheBrowserAndReportsWhatFailed)
{
    struct Case
    {
        bool shellOpens;
        QString browser;
        bool browserStarts;
        QStringList log; // after opening the home page
    };
    const QString warn = "warn Can't open link:\n\n";
    const std::vector<Case> cases = {
        {true, "web", true, {}},
        {false, "", true, {warn + CHyperLink::ErrorText(31)}},
        {false, "/usr/bin/web -new-tab \"%1\" -x", true, {"start /usr/bin/web|-new-tab|" + kHome}},
        {false,
         R"("C:\Program Files\web.exe" -url "%1")",
         true,
         {R"(start C:\Program Files\web.exe|-url|)" + kHome}},
        {false, "web %1 --dropped", true, {"start web|" + kHome}},
        {false, "web --new-window %s", true, {"start web|--new-window|" + kHome}},
        {false, "\"%1\"", true, {warn + CHyperLink::ErrorText(31)}},
        {false, "web", false, {"start web|" + kHome, warn + CHyperLink::ErrorText(2)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.browser.toStdString());
        FakeDesktop fake{c.shellOpens, c.browser, c.browserStarts, {}};
        CHyperLink link("Farsighter");
        link.m_strURL = kHome;
        link.SetDesktop(fake.Desktop());
        link.Open();
        EXPECT_EQ(fake.log, QStringList{"open " + kHome} + c.log);
        EXPECT_EQ(link.IsVisited(), !fake.log.last().startsWith("warn"));
    }
    EXPECT_EQ(CHyperLink::ErrorText(31),
              "There is no application associated\nwith the given filename extension.");
    EXPECT_EQ(CHyperLink::ErrorText(1), "Unknown Error (1) occurred.");
}

} // namespace
