#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>

#include <functional>
#include <utility>
#include <vector>

class QWidget;

// Keeps the child controls of a resizable dialog (or of the content widget of a scroll
// area, a "form view") in place when the window changes size.
//
// Every registered control has a rule for each of its four edges: stay, follow the
// window's far edge, scale with the window, or keep the control's size. An edge may be
// tied to the matching edge of a control registered earlier instead of to the window:
// a fixed edge then follows the anchor's near edge (left or top), a moving edge its far
// edge (right or bottom). The owner calls Resize on every size change; it computes every
// new rectangle from the rectangles registered at Attach time (so shrinking and growing
// back restores every control exactly) and then moves all controls in one batch.
//
// Resize can also be given overrides: fixed rectangles for some controls (a splitter bar
// being dragged). The layout is then computed relative to the present one and refused,
// moving nothing, when a control would leave the window or get no width or height.
//
// Rectangles are in the window's coordinates; for a form view these are the content
// widget's coordinates, which already include the scroll position.
class CResizer
{
public:
    // Edge modes, two bits an edge; a control's flags are the sum of one mode per edge.
    static constexpr unsigned kLeftFixed = 0x0;
    static constexpr unsigned kLeftMoves = 0x1;
    static constexpr unsigned kLeftProportional = 0x2;
    static constexpr unsigned kLeftKeepSize = 0x3;
    static constexpr unsigned kRightFixed = 0x00;
    static constexpr unsigned kRightMoves = 0x10;
    static constexpr unsigned kRightProportional = 0x20;
    static constexpr unsigned kRightKeepSize = 0x30;
    static constexpr unsigned kTopFixed = 0x000;
    static constexpr unsigned kTopMoves = 0x100;
    static constexpr unsigned kTopProportional = 0x200;
    static constexpr unsigned kTopKeepSize = 0x300;
    static constexpr unsigned kBottomFixed = 0x0000;
    static constexpr unsigned kBottomMoves = 0x1000;
    static constexpr unsigned kBottomProportional = 0x2000;
    static constexpr unsigned kBottomKeepSize = 0x3000;
    // Accepted by Add only, never stored: reset one edge's mode and anchor before the new
    // mode bits are added.
    static constexpr unsigned kClearLeft = 0x10000;
    static constexpr unsigned kClearRight = 0x20000;
    static constexpr unsigned kClearTop = 0x40000;
    static constexpr unsigned kClearBottom = 0x80000;

    // An edge given to an anchor argument that leaves the stored anchor alone (or, for a
    // new entry, ties the edge to the window).
    static constexpr int kNoAnchor = -1;

    struct Override
    {
        QWidget* control = nullptr;
        QRect rect;
    };
    using Overrides = std::vector<Override>;

    // What a validation callback sees: the new size of the layout area, the new rectangle
    // of every entry in registration order, and whether the layout passed the built-in
    // test (always true without overrides).
    struct LayoutInfo
    {
        const CResizer* resizer = nullptr;
        int width = 0;
        int height = 0;
        const std::vector<QRect>* rects = nullptr;
        bool valid = true;
    };
    // Called with the first override's control (or nullptr); its answer replaces the
    // validity.
    using Validator = std::function<bool(QWidget* firstOverride, const LayoutInfo& info)>;

    CResizer() = default;
    virtual ~CResizer() = default;
    CResizer(const CResizer&) = delete;
    CResizer& operator=(const CResizer&) = delete;

    // Starts over for the window. With templateId below 0 the present client size is the
    // reference and the window's present outer size the minimum. Otherwise the right and
    // bottom edge of the control with that id are the reference size, the control is
    // deleted (it only marked the designed size), and the minimum is the reference plus
    // the window frame (no frame for a form view).
    void Attach(QWidget* window, int expectedCount = 0, int templateId = -1);

    // Registers the control (with its present rectangle, edges fixed and tied to the
    // window) unless it is registered already; then applies the clear bits of flags, adds
    // the mode bits, and replaces each anchor given as 0 or more. An anchor must name an
    // entry registered before this one; others are ignored. Returns the entry index, or
    // -1 for a null control.
    int Add(QWidget* control, unsigned flags, int leftAnchor = kNoAnchor,
            int rightAnchor = kNoAnchor, int topAnchor = kNoAnchor, int bottomAnchor = kNoAnchor);
    int Add(int controlId, unsigned flags, int leftAnchor = kNoAnchor, int rightAnchor = kNoAnchor,
            int topAnchor = kNoAnchor, int bottomAnchor = kNoAnchor);

    // Adds every direct child lying wholly inside rect grown by margin on each side, in
    // the window's child order, and returns how many were added.
    int AddInRect(const QRect& rect, unsigned flags, int leftAnchor = kNoAnchor,
                  int rightAnchor = kNoAnchor, int topAnchor = kNoAnchor,
                  int bottomAnchor = kNoAnchor, int margin = 0);
    // The same with the rectangle of a frame control, which is added too.
    int AddInRect(int frameId, unsigned flags, int leftAnchor = kNoAnchor,
                  int rightAnchor = kNoAnchor, int topAnchor = kNoAnchor,
                  int bottomAnchor = kNoAnchor, int margin = 0);

    void RemoveAll();
    int FindEntry(const QWidget* control) const;
    int EntryCount() const { return static_cast<int>(m_entries.size()); }

    // Makes the present state the reference: of one control, or (nullptr) of the layout
    // area's size and every control.
    void Snapshot(const QWidget* control = nullptr);

    // The window's client rectangle; for a form view at least the minimum size, and
    // shifted by minus the scroll position.
    QRect GetLayoutArea() const;

    // Lays the controls out for the window's present size (see the class comment).
    // Returns whether the layout was valid and applied.
    bool Resize(const Validator& validator = {}, const Overrides* overrides = nullptr);

    QWidget* Window() const { return m_window; }
    bool IsFormView() const { return m_formView; }
    QSize ReferenceSize() const { return m_referenceSize; }
    QSize MinimumSize() const { return m_minimumSize; }

private:
    struct Edges
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    struct Entry
    {
        QPointer<QWidget> control;
        unsigned flags = 0;
        Edges reference;
        int anchors[4] = {kNoAnchor, kNoAnchor, kNoAnchor, kNoAnchor}; // left right top bottom
    };
    // One axis of an entry's rule: near and far edge, their modes and anchors.
    struct Axis
    {
        int near0;
        int far0;
        unsigned nearMode;
        unsigned farMode;
        int nearAnchor;
        int farAnchor;
    };

    static Edges EdgesOf(const QRect& rect);
    static QRect RectOf(const Edges& edges);
    QSize LayoutSize() const;
    QPoint ScrollPosition() const;
    // New near and far coordinate of one axis. anchorNear/anchorFar pick the anchor's
    // edges on this axis from a rectangle.
    std::pair<int, int> ComputeAxis(const Axis& axis, int delta, double ratio,
                                    const std::vector<Edges>& computed, bool horizontal) const;

    QPointer<QWidget> m_window;
    bool m_formView = false;
    QSize m_referenceSize;
    QSize m_minimumSize;
    std::vector<Entry> m_entries;
};
