#include "velk/HyperLink.h"

#include "velk/Contrast.h"
#include "velk/VelkLibrary.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QToolTip>
#include <QUrl>

#include <array>

namespace {

[[maybe_unused]] const bool kHyperLinkRegistered = (RegisterVelkLibrary(), true);

// The codes of OpenURL, with the values of the platform's shell results.
constexpr int kOpened = 33;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;

// The link as screen readers see it: a link named by its text and described by its target,
// which the press action opens; visited links read as traversed.
class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(CHyperLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return Link()->text();
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return Link()->m_strURL;
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        s.traversed = Link()->IsVisited();
        return s;
    }
    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction() && Link()->isEnabled())
            Link()->Open();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    CHyperLink* Link() const { return static_cast<CHyperLink*>(widget()); }
};

QAccessibleInterface* LinkFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CHyperLink") && object && object->isWidgetType())
        return new LinkAccessible(static_cast<CHyperLink*>(object)); // owned by Qt's cache
    return nullptr;
}

} // namespace

CLinkDesktop CLinkDesktop::System()
{
    CLinkDesktop desktop;
    desktop.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    desktop.browserCommand = [] {
        return qEnvironmentVariable("BROWSER").section(QLatin1Char(':'), 0, 0);
    };
    desktop.startDetached = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    desktop.warn = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(), text);
    };
    return desktop;
}

CHyperLink::CHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(LinkFactory), true);
    (void)factoryInstalled;
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    UpdateColor();
}

void CHyperLink::Attach()
{
    if (m_strURL.isEmpty())
        m_strURL = text();
    if (text().isEmpty())
        setText(m_strURL);

    QFont underlined = font();
    underlined.setUnderline((m_nFlags & kUnderline) != 0);
    setFont(underlined);
    if (m_nFlags & kFitToText)
        FitToText();

    if (m_nFlags & kNoHandCursor)
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
}

void CHyperLink::FitToText()
{
    const QSize textSize = QFontMetrics(font()).size(0, text());
    const int borderWidth = width() - contentsRect().width() + 2 * margin();
    const int borderHeight = height() - contentsRect().height() + 2 * margin();
    QRect box = geometry();
    const QSize fitted(textSize.width() + borderWidth, textSize.height() + borderHeight);

    const Qt::Alignment align = alignment();
    int x = box.x();
    if (align & Qt::AlignRight)
        x = box.right() + 1 - fitted.width();
    else if (align & Qt::AlignHCenter)
        x = box.x() + (box.width() - fitted.width()) / 2;
    int y = box.y();
    if (align & Qt::AlignVCenter)
        y = box.y() + (box.height() - fitted.height()) / 2;
    setGeometry(QRect(QPoint(x, y), fitted));
}

void CHyperLink::Open()
{
    const int result = OpenURL(m_strURL, m_desktop);
    if (result > 32) {
        const bool wasVisited = m_visited;
        m_visited = true;
        UpdateColor();
        if (!wasVisited) {
            QAccessible::State changed;
            changed.traversed = true;
            QAccessibleStateChangeEvent event(this, changed);
            QAccessible::updateAccessibility(&event);
        }
        return;
    }
    QApplication::beep();
    if (m_desktop.warn)
        m_desktop.warn(this, tr("Can't open link:\n\n") + ErrorText(result));
}

int CHyperLink::OpenURL(const QString& target, const CLinkDesktop& desktop)
{
    if (desktop.openUrl && desktop.openUrl(QUrl::fromUserInput(target)))
        return kOpened;
    const QString command = desktop.browserCommand ? desktop.browserCommand() : QString();
    QStringList line = BrowserCommandLine(command, target);
    if (line.isEmpty() || !desktop.startDetached)
        return kNoAssociation;
    const QString program = line.takeFirst();
    return desktop.startDetached(program, line) ? kOpened : kFileNotFound;
}

QStringList CHyperLink::BrowserCommandLine(const QString& command, const QString& target)
{
    // "%1" is the placeholder of the Windows file associations, "%s" that of BROWSER.
    static const std::array<QString, 4> kPlaceholders = {
        QStringLiteral("\"%1\""), QStringLiteral("%1"), QStringLiteral("\"%s\""),
        QStringLiteral("%s")};
    QString cut = command;
    for (const QString& placeholder : kPlaceholders) {
        if (const qsizetype at = command.indexOf(placeholder); at >= 0) {
            cut = command.left(at);
            break;
        }
    }
    QStringList words = QProcess::splitCommand(cut);
    if (words.isEmpty())
        return {};
    words.append(target);
    return words;
}

QString CHyperLink::ErrorText(int code)
{
    switch (code) {
    case 0:
        return tr("The operating system is out\nof memory or resources.");
    case 2:
        return tr("The specified file was not found.");
    case 3:
        return tr("The specified path was not found.");
    case 5:
        return tr("The operating system denied\naccess to the specified file.");
    case 8:
        return tr("There was not enough memory to complete the operation.");
    case 11:
        return tr("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return tr("A sharing violation occurred. ");
    case 27:
        return tr("The filename association is\nincomplete or invalid.");
    case 28:
        return tr("The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return tr("The DDE transaction failed.");
    case 30:
        return tr("The DDE transaction could not\nbe completed because other DDE "
                  "transactions\nwere being processed.");
    case 31:
        return tr("There is no application associated\nwith the given filename extension.");
    case 32:
        return tr("The specified dynamic-link library was not found.");
    default:
        return tr("Unknown Error (%1) occurred.").arg(code);
    }
}

QColor CHyperLink::TextColor() const
{
    CColorValue color = m_visited ? kVisitedColor : kLinkColor;
    if (m_hover && (m_nFlags & kUseHoverColor))
        color = kHoverColor;
    else if (m_active && !(m_nFlags & kNoActiveColor))
        color = kActiveColor;
    // The link colours are made for a light window; a dark one gets lighter shades of them.
    return CContrast::OnBackground(color.ToQColor(), palette().color(QPalette::Window),
                                   CContrast::kText);
}

void CHyperLink::UpdateColor()
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, TextColor());
    setPalette(colors);
}

void CHyperLink::SetHover(bool hover)
{
    if (m_hover == hover)
        return;
    m_hover = hover;
    UpdateColor();
    repaint();
}

bool CHyperLink::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // The target, looked up when the tooltip is due, so a changed target shows.
        const auto* help = static_cast<QHelpEvent*>(event);
        if (m_strURL.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), m_strURL, this, rect());
        return true;
    }
    const bool handled = QLabel::event(event);
    // A changed theme: the link colours are picked again for the new window colour (setting
    // the same colour again changes nothing, so this ends).
    if (event->type() == QEvent::PaletteChange)
        UpdateColor();
    return handled;
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_hover)
        SetHover(true);
    else if (!rect().contains(event->position().toPoint()))
        SetHover(false); // left while a button holds the pointer
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event)
{
    SetHover(false);
    QLabel::leaveEvent(event);
}

void CHyperLink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    if (m_nFlags & kFocusOnClick)
        setFocus(Qt::MouseFocusReason);
    if (m_nFlags & kOpenOnPress)
        Open();
    m_active = true;
    UpdateColor();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    // A press dragged off the link and released outside is no click.
    if (m_active && !(m_nFlags & kOpenOnPress) && rect().contains(event->position().toPoint()))
        Open();
}

void CHyperLink::focusInEvent(QFocusEvent* event)
{
    m_active = true;
    UpdateColor();
    QLabel::focusInEvent(event);
}

void CHyperLink::focusOutEvent(QFocusEvent* event)
{
    m_active = false;
    m_hover = false;
    UpdateColor();
    QLabel::focusOutEvent(event);
}

void CHyperLink::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}
