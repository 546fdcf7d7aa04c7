#pragma once

#include "velk/VelkNotify.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class QScrollBar;

// A strip of sheet tabs drawn as trapezoids, meant to sit under another window as the sheet
// tabs sit under a spreadsheet. When the tabs do not fit, two scroll arrows at the right end
// scroll the strip tab by tab. The current tab is drawn last, in bold, open upward.
//
// A left click on another enabled tab asks the parent with TCN_SELCHANGING (non-zero keeps
// the old tab) and then reports TCN_SELCHANGE; a right click anywhere reports NM_RCLICK. A
// parent that changes the tabs while a click is reported ends that click.
// Embedded in another control (SetEmbedded), the notifications go to that control's parent
// as if that control had sent them, and the current tab takes the control's colour.
class CBottomTabCtrl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int TCN_SELCHANGING = -552;
    static constexpr int TCN_SELCHANGE = -551;
    static constexpr int NM_RCLICK = -5;
    static constexpr int kArrowsId = 100;

    // The scroll codes of the arrows.
    static constexpr int SB_LINELEFT = 0;
    static constexpr int SB_LINERIGHT = 1;

    struct Tab
    {
        QString text;
        std::uint32_t data = 0; // the caller's; the control does not use it
        int width = 0;
        bool enabled = true;
    };

    // id is the control id that the notifications report.
    explicit CBottomTabCtrl(int id, QWidget* parent = nullptr);

    int Id() const { return m_id; }

    // The current tab takes colour; notifications go to the parent's parent, carrying the
    // parent and parentId as their sender.
    void SetEmbedded(const QColor& color, int parentId);

    // Adds a tab at the end; returns its index.
    int AddTab(const QString& text, std::uint32_t data = 0);
    // Removes the tab; a current tab at or after it moves one to the left. False when the
    // index is not a tab.
    bool RemoveTab(int index);
    bool RenameTab(int index, const QString& text);
    bool EnableTab(int index, bool enable);

    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    const Tab& GetTab(int index) const { return m_tabs[index]; }
    bool IsTabEnabled(int index) const;
    int GetCurSel() const { return m_nCurrent; }

    // The width the tabs need: each text in the bold font plus 10.
    int GetTotalWidth() const;
    // Makes the tab current and scrolls it into view, without notifications. Returns index,
    // or -1 when it is not a tab.
    int SelectTab(int index);
    // Shows or hides the arrows for the current width and sets the scroll range.
    void RecalcLayout();

    // What the arrows do: SB_LINELEFT and SB_LINERIGHT scroll by one tab.
    void OnArrow(int code);

    // The index of the last tab under the point, -1 for none.
    int HitTest(const QPoint& pos) const;

    int GetScrollOffset() const { return m_nScrollX; }
    int GetScrollRange() const { return m_nScrollRange; }
    bool ArrowsShown() const { return m_nArrowWidth > 0; }
    int StripHeight() const { return m_nHeight; }
    QScrollBar& Arrows() const { return *m_arrows; }

    // The x position where the tab begins, after scrolling.
    int TabLeft(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::intptr_t Notify(int code);
    int TextWidth(const QString& text) const;
    void PlaceArrows();
    void Changed();

    std::vector<Tab> m_tabs;
    int m_nScrollX = 0;
    int m_nScrollRange = 0;
    int m_nCurrent = 0;
    int m_nArrowWidth;
    int m_nHeight;
    bool m_bEmbedded = false;
    QColor m_embeddedColor = Qt::white;
    int m_id;
    int m_parentId = 0;
    QScrollBar* m_arrows; // owned as a child
    QFont m_boldFont;
    unsigned m_tabChanges = 0; // counts additions, removals and renames
};
