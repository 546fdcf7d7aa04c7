#include "velk/BottomTabCtrl.h"

#include "velk/VelkLibrary.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPolygon>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <map>
#include <numeric>

namespace {

[[maybe_unused]] const bool kBottomTabCtrlRegistered = (RegisterVelkLibrary(), true);

constexpr int kTextPadding = 10; // added to the width of a tab's text
constexpr int kSlant = 7;        // the horizontal run of a tab's slanted sides

// One tab as screen readers see it: a page tab named by its text.
class TabAccessible : public QAccessibleInterface
{
public:
    TabAccessible(CBottomTabCtrl* strip, int index) : m_strip(strip), m_index(index) {}

    bool isValid() const override { return m_strip && m_index < m_strip->GetTabCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_strip ? m_strip->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_strip.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return isValid() && t == QAccessible::Name ? m_strip->GetTab(m_index).text : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const int left = m_strip->TabLeft(m_index);
        const QRect local(left, 0, m_strip->GetTab(m_index).width, m_strip->StripHeight());
        return QRect(m_strip->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.selected = m_strip->GetCurSel() == m_index;
        s.disabled = !m_strip->isEnabled() || !m_strip->IsTabEnabled(m_index);
        s.invisible = !m_strip->isVisible();
        return s;
    }

private:
    QPointer<CBottomTabCtrl> m_strip;
    int m_index;
};

// The strip as screen readers see it: a page tab list whose children are the tabs and
// whose value is the current tab's text.
class StripAccessible : public QAccessibleWidget
{
public:
    explicit StripAccessible(CBottomTabCtrl* strip)
        : QAccessibleWidget(strip, QAccessible::PageTabList)
    {
    }
    ~StripAccessible() override
    {
        for (const auto& [index, id] : m_children)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Strip()->GetTabCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto found = m_children.find(index);
        if (found == m_children.end()) {
            auto* tab = new TabAccessible(Strip(), index); // owned by Qt's cache, freed by us
            found = m_children.emplace(index, QAccessible::registerAccessibleInterface(tab)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (const auto& [index, id] : m_children)
            if (QAccessible::accessibleInterface(id) == child)
                return index;
        return -1;
    }
    QString text(QAccessible::Text t) const override
    {
        const CBottomTabCtrl* strip = Strip();
        const int current = strip->GetCurSel();
        if (t == QAccessible::Value && current >= 0 && current < strip->GetTabCount())
            return strip->GetTab(current).text;
        return QAccessibleWidget::text(t);
    }

private:
    CBottomTabCtrl* Strip() const { return static_cast<CBottomTabCtrl*>(widget()); }

    mutable std::map<int, QAccessible::Id> m_children;
};

QAccessibleInterface* StripFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CBottomTabCtrl") && object && object->isWidgetType())
        return new StripAccessible(static_cast<CBottomTabCtrl*>(object));
    return nullptr;
}

} // namespace

CBottomTabCtrl::CBottomTabCtrl(int id, QWidget* parent)
    : QWidget(parent), m_nArrowWidth(2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent)),
      m_nHeight(style()->pixelMetric(QStyle::PM_ScrollBarExtent)), m_id(id),
      m_arrows(new QScrollBar(Qt::Horizontal, this)), m_boldFont(font())
{
    static const bool factoryInstalled = (QAccessible::installFactory(StripFactory), true);
    (void)factoryInstalled;

    setObjectName(QStringLiteral("Velk::CBottomTabCtrl"));
    setWindowTitle(QStringLiteral("Velk::CBottomTabCtrl"));
    setAutoFillBackground(false);
    m_boldFont.setWeight(QFont::Bold);

    // The arrows only: the bar stays in the middle of a tiny range, so both arrows work.
    m_arrows->setRange(0, 2);
    m_arrows->setValue(1);
    m_arrows->setObjectName(QStringLiteral("arrows"));
    connect(m_arrows, &QScrollBar::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderSingleStepSub)
            OnArrow(SB_LINELEFT);
        else if (action == QAbstractSlider::SliderSingleStepAdd)
            OnArrow(SB_LINERIGHT);
    });
    connect(m_arrows, &QScrollBar::valueChanged, this, [this] {
        const QSignalBlocker blocker(m_arrows);
        m_arrows->setValue(1);
    });
    PlaceArrows();
}

QSize CBottomTabCtrl::sizeHint() const
{
    return QSize(GetTotalWidth() + kTextPadding + m_nArrowWidth, m_nHeight);
}

void CBottomTabCtrl::SetEmbedded(const QColor& color, int parentId)
{
    m_bEmbedded = true;
    m_embeddedColor = color;
    m_parentId = parentId;
    update();
}

int CBottomTabCtrl::TextWidth(const QString& text) const
{
    return QFontMetrics(m_boldFont).horizontalAdvance(text) + kTextPadding;
}

int CBottomTabCtrl::AddTab(const QString& text, std::uint32_t data)
{
    m_tabs.push_back(Tab{text, data, TextWidth(text), true});
    Changed();
    return GetTabCount() - 1;
}

bool CBottomTabCtrl::RemoveTab(int index)
{
    if (index < 0 || index >= GetTabCount())
        return false;
    m_tabs.erase(m_tabs.begin() + index);
    if (m_nCurrent > 0 && m_nCurrent >= index)
        --m_nCurrent;
    Changed();
    return true;
}

bool CBottomTabCtrl::RenameTab(int index, const QString& text)
{
    if (index < 0 || index >= GetTabCount())
        return false;
    m_tabs[index].text = text;
    m_tabs[index].width = TextWidth(text);
    Changed();
    return true;
}

bool CBottomTabCtrl::EnableTab(int index, bool enable)
{
    if (index < 0 || index >= GetTabCount())
        return false;
    m_tabs[index].enabled = enable;
    update();
    return true;
}

void CBottomTabCtrl::Changed()
{
    ++m_tabChanges;
    RecalcLayout();
    m_nScrollX = std::clamp(m_nScrollX, 0, std::max(m_nScrollRange, 0));
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

bool CBottomTabCtrl::IsTabEnabled(int index) const
{
    return index >= 0 && index < GetTabCount() && m_tabs[index].enabled;
}

int CBottomTabCtrl::GetTotalWidth() const
{
    return std::accumulate(m_tabs.begin(), m_tabs.end(), 0,
                           [this](int sum, const Tab& tab) { return sum + TextWidth(tab.text); });
}

int CBottomTabCtrl::TabLeft(int index) const
{
    int x = -m_nScrollX;
    for (int i = 0; i < index; ++i)
        x += m_tabs[i].width;
    return x;
}

int CBottomTabCtrl::SelectTab(int index)
{
    if (index < 0 || index >= GetTabCount())
        return -1;
    const int left = TabLeft(index) + m_nScrollX;
    m_nCurrent = index;
    const int visibleRight = width() - m_nArrowWidth + m_nScrollX;
    if (left + m_tabs[index].width + kTextPadding > visibleRight)
        m_nScrollX = left + m_tabs[index].width + kTextPadding - (width() - m_nArrowWidth);
    else if (left < m_nScrollX)
        m_nScrollX = left;
    update();
    QAccessibleValueChangeEvent event(this, m_tabs[index].text);
    QAccessible::updateAccessibility(&event);
    return index;
}

void CBottomTabCtrl::RecalcLayout()
{
    const int total = std::accumulate(m_tabs.begin(), m_tabs.end(), 0,
                                      [](int sum, const Tab& tab) { return sum + tab.width; });
    const bool arrows = total > 0 && total + kTextPadding > width();
    if (arrows) {
        m_nArrowWidth = 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    } else {
        m_nArrowWidth = 0;
        m_nScrollX = 0;
    }
    const int range = total - width() + m_nArrowWidth;
    m_nScrollRange = range < 1 ? 0 : range + 20;
    PlaceArrows();
}

void CBottomTabCtrl::PlaceArrows()
{
    m_arrows->setGeometry(width() - m_nArrowWidth, 1, m_nArrowWidth, m_nHeight);
    m_arrows->setVisible(m_nArrowWidth > 0);
}

void CBottomTabCtrl::OnArrow(int code)
{
    // k: the first tab whose right end lies beyond the offset.
    int k = 0;
    for (int right = 0; k < GetTabCount(); ++k) {
        right += m_tabs[k].width;
        if (right > m_nScrollX)
            break;
    }
    if (code == SB_LINELEFT && m_nScrollX >= 1) {
        m_nScrollX = k == 0 ? 0 : std::max(0, m_nScrollX - m_tabs[k - 1].width);
        update();
    } else if (code == SB_LINERIGHT && m_nScrollX < m_nScrollRange - 5 && k < GetTabCount()) {
        m_nScrollX += m_tabs[k].width;
        update();
    }
}

int CBottomTabCtrl::HitTest(const QPoint& pos) const
{
    int hit = -1;
    int x = -m_nScrollX;
    for (int i = 0; i < GetTabCount(); ++i) {
        if (x <= pos.x() && pos.x() <= x + m_tabs[i].width + 2 && pos.y() <= m_nHeight)
            hit = i;
        x += m_tabs[i].width;
    }
    return hit;
}

std::intptr_t CBottomTabCtrl::Notify(int code)
{
    VelkNMHDR header;
    header.code = code;
    QWidget* receiver = parentWidget();
    if (m_bEmbedded && receiver) {
        header.hwndFrom = receiver;
        header.idFrom = m_parentId;
        receiver = receiver->parentWidget();
    } else {
        header.hwndFrom = this;
        header.idFrom = m_id;
    }
    return SendVelkNotify(receiver, header);
}

void CBottomTabCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton)
        Notify(NM_RCLICK);
    if (event->button() == Qt::LeftButton) {
        // Each hit tab in turn: in the overlap at a tab's end the later tab wins. A parent
        // that adds, removes or renames tabs while it is told ends the click: the point no
        // longer says which tab was meant. One that deletes the strip ends it as well.
        const QPointer<CBottomTabCtrl> alive(this);
        const unsigned tabs = m_tabChanges;
        const auto unchanged = [&] { return alive && m_tabChanges == tabs; };
        for (int i = 0, x = -m_nScrollX; i < GetTabCount(); x += m_tabs[i++].width) {
            const bool hit =
                x <= pos.x() && pos.x() <= x + m_tabs[i].width + 2 && pos.y() <= m_nHeight;
            if (!hit || i == m_nCurrent || !m_tabs[i].enabled)
                continue;
            const bool refused = Notify(TCN_SELCHANGING) != 0;
            if (!unchanged())
                break;
            if (refused)
                continue;
            SelectTab(i);
            Notify(TCN_SELCHANGE);
            if (!unchanged())
                break;
        }
        if (!alive)
            return;
    }
    QWidget::mousePressEvent(event);
}

void CBottomTabCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
    update();
}

void CBottomTabCtrl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_boldFont = font();
        m_boldFont.setWeight(QFont::Bold);
        for (Tab& tab : m_tabs)
            tab.width = TextWidth(tab.text);
        Changed();
    } else if (event->type() == QEvent::EnabledChange) {
        update();
    }
}

void CBottomTabCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    const QColor face = colors.color(QPalette::Button);
    painter.fillRect(rect(), face);

    // Standalone, the current tab has the colour of a text field and a frame in the theme's
    // text colour (white and black in a light theme).
    const QColor selectedColor = m_bEmbedded ? m_embeddedColor : colors.color(QPalette::Base);
    const QPen framePen(
        m_bEmbedded ? colors.color(QPalette::Dark) : colors.color(QPalette::WindowText), 1);
    const QPen highlightPen(m_bEmbedded ? m_embeddedColor : face, 1);
    const QColor enabledText = colors.color(QPalette::Active, QPalette::ButtonText);
    const QColor grayText = colors.color(QPalette::Disabled, QPalette::Text);
    const int top = 0;
    const int bottom = top + m_nHeight;
    painter.setPen(framePen);

    const auto drawTab = [&](int i, const QColor& fill, const QFont& font) {
        const int x = TabLeft(i);
        const int right = x + m_tabs[i].width;
        const QPolygon shape({QPoint(x, top), QPoint(x + kSlant, bottom - 1),
                              QPoint(right + 2, bottom - 1), QPoint(right + 9, top)});
        painter.setPen(framePen);
        painter.setBrush(fill);
        painter.drawPolygon(shape);
        painter.setFont(font);
        painter.setPen(isEnabled() && m_tabs[i].enabled ? enabledText : grayText);
        painter.drawText(QRect(QPoint(x + 10, top + 1), QPoint(right - 1, bottom - 2)),
                         Qt::AlignHCenter | Qt::AlignTop, m_tabs[i].text);
    };

    for (int i = 0; i < GetTabCount(); ++i)
        if (i != m_nCurrent)
            drawTab(i, face, font());

    if (m_nCurrent >= 0 && m_nCurrent < GetTabCount()) {
        const QColor fill = m_bEmbedded ? selectedColor : face;
        painter.setPen(framePen);
        painter.drawLine(0, top, width() - 1, top);
        const int x = TabLeft(m_nCurrent);
        drawTab(m_nCurrent, fill, m_boldFont);
        painter.setPen(highlightPen);
        painter.drawLine(x + 1, top, x + m_tabs[m_nCurrent].width + 9, top);
    }
}
