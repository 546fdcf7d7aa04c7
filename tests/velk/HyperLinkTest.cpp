#include "velk/HyperLink.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <QUrl>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kHome = "https://farsighter.example/";

// A desktop that records what the link asked of it and answers as told.
struct FakeDesktop
{
    bool shellOpens = true;
    QString browser;
    bool browserStarts = true;
    std::vector<QString> shellUrls;
    QStringList started; // program and arguments of the last start
    std::vector<QString> warnings;

    CLinkDesktop Desktop()
    {
        CLinkDesktop desktop;
        desktop.openUrl = [this](const QUrl& url) {
            shellUrls.push_back(url.toString());
            return shellOpens;
        };
        desktop.browserCommand = [this] { return browser; };
        desktop.startDetached = [this](const QString& program, const QStringList& arguments) {
            started = QStringList{program} + arguments;
            return browserStarts;
        };
        desktop.warn = [this](QWidget*, const QString& text) { warnings.push_back(text); };
        return desktop;
    }
};

struct Window
{
    QWidget widget;
    Window()
    {
        widget.resize(400, 200);
        widget.show();
        widget.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
    }
};

TEST(HyperLinkTest, AttachTakesTextOrTargetAndFitsKeepingTheAlignedEdge)
{
    struct Case
    {
        QString text;
        QString url;
        Qt::Alignment align;
        int flags;
        QString shownText, target;
    };
    const QString home = kHome;
    const std::vector<Case> cases = {
        {"Farsighter", home, Qt::AlignLeft | Qt::AlignTop, 21, "Farsighter", home},
        {"Farsighter", "", Qt::AlignRight | Qt::AlignTop, 21, "Farsighter", "Farsighter"},
        {"", home, Qt::AlignHCenter | Qt::AlignVCenter, 21, home, home},
        {"Farsighter", home, Qt::AlignLeft | Qt::AlignTop, 21 - 4 - 1 + 32, "Farsighter", home},
    };
    const QRect placed(100, 50, 200, 40);
    for (const Case& c : cases) {
        SCOPED_TRACE((c.text + "|" + c.url).toStdString());
        QWidget parent;
        CHyperLink link(c.text, &parent);
        link.m_strURL = c.url;
        link.m_nFlags = c.flags;
        link.setAlignment(c.align);
        link.setGeometry(placed);
        link.Attach();

        EXPECT_EQ(link.text(), c.shownText);
        EXPECT_EQ(link.m_strURL, c.target);
        EXPECT_EQ(link.font().underline(), (c.flags & CHyperLink::kUnderline) != 0);
        EXPECT_EQ(link.cursor().shape(),
                  (c.flags & CHyperLink::kNoHandCursor) ? Qt::ArrowCursor : Qt::PointingHandCursor);
        if (!(c.flags & CHyperLink::kFitToText)) {
            EXPECT_EQ(link.geometry(), placed);
            continue;
        }
        const QSize text = QFontMetrics(link.font()).size(0, c.shownText);
        EXPECT_EQ(link.size(), text);
        const QRect box = link.geometry();
        if (c.align & Qt::AlignRight)
            EXPECT_EQ(box.right(), placed.right());
        else if (c.align & Qt::AlignHCenter)
            EXPECT_NEAR(box.center().x(), placed.center().x(), 1);
        else
            EXPECT_EQ(box.left(), placed.left());
        if (c.align & Qt::AlignVCenter)
            EXPECT_NEAR(box.center().y(), placed.center().y(), 1);
        else
            EXPECT_EQ(box.top(), placed.top());
    }
}

TEST(HyperLinkTest, ClickTakesFocusOnPressAndOpensOnReleaseSpaceOpensToo)
{
    Window window;
    FakeDesktop fake;
    CHyperLink link("Farsighter", &window.widget);
    link.m_strURL = kHome;
    link.SetDesktop(fake.Desktop());
    link.Attach();
    link.show();
    const QPoint inside = link.rect().center();

    EXPECT_EQ(link.TextColor(), CHyperLink::kLinkColor.ToQColor());
    QTest::mousePress(&link, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(link.hasFocus());
    EXPECT_TRUE(fake.shellUrls.empty());
    EXPECT_EQ(link.TextColor(), CHyperLink::kActiveColor.ToQColor());
    QTest::mouseRelease(&link, Qt::LeftButton, {}, inside);
    ASSERT_EQ(fake.shellUrls, std::vector<QString>{kHome});
    EXPECT_TRUE(link.IsVisited());

    // Losing the focus shows the visited colour; the space key opens once more.
    QWidget other(&window.widget);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    EXPECT_EQ(link.TextColor(), CHyperLink::kVisitedColor.ToQColor());
    link.setFocus();
    QTest::keyClick(&link, Qt::Key_Space);
    QTest::keyClick(&link, Qt::Key_A);
    EXPECT_EQ(fake.shellUrls.size(), 2u);

    // Opening on the press opens once per click.
    link.m_nFlags |= CHyperLink::kOpenOnPress;
    QTest::mouseClick(&link, Qt::LeftButton, {}, inside);
    EXPECT_EQ(fake.shellUrls.size(), 3u);
    EXPECT_TRUE(fake.warnings.empty());
}

TEST(HyperLinkTest, HoverColourAndTooltipShowTheTarget)
{
    Window window;
    CHyperLink link("Farsighter", &window.widget);
    link.m_strURL = kHome;
    link.m_nFlags |= CHyperLink::kUseHoverColor;
    link.Attach();
    link.show();

    QTest::mouseMove(&link, link.rect().center());
    EXPECT_TRUE(link.IsHovering());
    EXPECT_EQ(link.TextColor(), CHyperLink::kHoverColor.ToQColor());
    EXPECT_EQ(link.palette().color(QPalette::WindowText), CHyperLink::kHoverColor.ToQColor());
    QTest::mouseMove(&window.widget, QPoint(395, 195));
    EXPECT_FALSE(link.IsHovering());
    EXPECT_EQ(link.TextColor(), CHyperLink::kLinkColor.ToQColor());

    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), link.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&link, &help);
    EXPECT_EQ(QToolTip::text(), QString(kHome));
    QToolTip::hideText();
}

TEST(HyperLinkTest, ShellFailureFallsBackOnTheBrowserAndReportsWhatFailed)
{
    struct Case
    {
        std::string name;
        bool shellOpens;
        QString browser;
        bool browserStarts;
        QStringList started;
        QString warning; // empty when the link opened
    };
    const QString cantOpen = "Can't open link:\n\n";
    const std::vector<Case> cases = {
        {"shell", true, "browser %1", true, {}, ""},
        {"no browser", false, "", true, {}, cantOpen + CHyperLink::ErrorText(31)},
        {"browser",
         false,
         "/usr/bin/web -new-tab \"%1\" -x",
         true,
         {"/usr/bin/web", "-new-tab", kHome},
         ""},
        {"browser fails", false, "web", false, {"web", kHome}, cantOpen + CHyperLink::ErrorText(2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop fake;
        fake.shellOpens = c.shellOpens;
        fake.browser = c.browser;
        fake.browserStarts = c.browserStarts;
        CHyperLink link("Farsighter");
        link.m_strURL = kHome;
        link.SetDesktop(fake.Desktop());
        link.Open();
        EXPECT_EQ(fake.shellUrls, std::vector<QString>{kHome});
        EXPECT_EQ(fake.started, c.started);
        EXPECT_EQ(link.IsVisited(), c.warning.isEmpty());
        EXPECT_EQ(fake.warnings,
                  c.warning.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.warning});
    }
    EXPECT_EQ(CHyperLink::ErrorText(31),
              "There is no application associated\nwith the given filename extension.");
    EXPECT_EQ(CHyperLink::ErrorText(1), "Unknown Error (1) occurred.");
    EXPECT_EQ(CHyperLink::ErrorText(26), "A sharing violation occurred. ");
}

TEST(HyperLinkTest, BrowserCommandIsCutAtThePlaceholder)
{
    const QString target = "mailto:someone@farsighter.example";
    const std::vector<std::pair<QString, QStringList>> cases = {
        {R"("C:\Program Files\Web\web.exe" -osint -url "%1")",
         {R"(C:\Program Files\Web\web.exe)", "-osint", "-url", target}},
        {"web %1 --dropped", {"web", target}},
        {"web", {"web", target}},
        {"web --new-window %s", {"web", "--new-window", target}},
        {"\"%1\"", {}},
        {"", {}},
    };
    for (const auto& [command, expected] : cases) {
        SCOPED_TRACE(command.toStdString());
        EXPECT_EQ(CHyperLink::BrowserCommandLine(command, target), expected);
    }
}

} // namespace
