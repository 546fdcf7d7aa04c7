#include "panlo/Resizer.h"

#include "panlo/ControlId.h"
#include "panlo/PanloLibrary.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace {

[[maybe_unused]] const bool kResizerRegistered = (RegisterPanloLibrary(), true);

constexpr unsigned kModeMask = 0x3;
constexpr unsigned kFixed = 0x0;
constexpr unsigned kMoves = 0x1;
constexpr unsigned kProportional = 0x2;
constexpr unsigned kKeepSize = 0x3;

int Scaled(double value, double ratio)
{
    return static_cast<int>(value * ratio); // truncates toward zero
}

// The scroll area whose content widget the window is, if any.
QAbstractScrollArea* ScrollAreaOf(const QWidget* window)
{
    QWidget* viewport = window ? window->parentWidget() : nullptr;
    auto* area = viewport ? qobject_cast<QAbstractScrollArea*>(viewport->parentWidget()) : nullptr;
    return area && area->viewport() == viewport ? area : nullptr;
}

} // namespace

CResizer::Edges CResizer::EdgesOf(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QRect CResizer::RectOf(const Edges& edges)
{
    return QRect(edges.left, edges.top, edges.right - edges.left, edges.bottom - edges.top);
}

void CResizer::Attach(QWidget* window, int expectedCount, int templateId)
{
    RemoveAll();
    m_window = window;
    m_formView = ScrollAreaOf(window) != nullptr;
    m_referenceSize = {};
    m_minimumSize = {};
    if (!window)
        return;
    const QSize client = LayoutSize();
    const QSize frame = window->frameGeometry().size() - window->size();
    QWidget* sizeTemplate = templateId >= 0 ? FindControl(window, templateId) : nullptr;
    if (sizeTemplate) {
        const Edges edges = EdgesOf(sizeTemplate->geometry());
        m_referenceSize = QSize(edges.right, edges.bottom);
        m_minimumSize = m_formView ? m_referenceSize : m_referenceSize + frame;
        delete sizeTemplate;
    } else {
        m_referenceSize = client;
        m_minimumSize = window->frameGeometry().size();
    }
    if (expectedCount > 0)
        m_entries.reserve(static_cast<std::size_t>(expectedCount));
}

int CResizer::Add(QWidget* control, unsigned flags, int leftAnchor, int rightAnchor, int topAnchor,
                  int bottomAnchor)
{
    if (!control)
        return -1;
    int index = FindEntry(control);
    if (index < 0) {
        Entry entry;
        entry.control = control;
        entry.reference = EdgesOf(control->geometry());
        m_entries.push_back(entry);
        index = EntryCount() - 1;
    }
    Entry& entry = m_entries[static_cast<std::size_t>(index)];
    static constexpr unsigned kClearBits[4] = {kClearLeft, kClearRight, kClearTop, kClearBottom};
    for (int edge = 0; edge < 4; ++edge) {
        if (flags & kClearBits[edge]) {
            entry.flags &= ~(kModeMask << (4 * edge));
            entry.anchors[edge] = kNoAnchor;
        }
    }
    entry.flags |= flags & 0xFFFF;
    const int anchors[4] = {leftAnchor, rightAnchor, topAnchor, bottomAnchor};
    for (int edge = 0; edge < 4; ++edge) {
        // Rectangles are computed in registration order, so an anchor must come first.
        if (anchors[edge] >= 0 && anchors[edge] < index)
            entry.anchors[edge] = anchors[edge];
    }
    return index;
}

int CResizer::Add(int controlId, unsigned flags, int leftAnchor, int rightAnchor, int topAnchor,
                  int bottomAnchor)
{
    return Add(FindControl(m_window, controlId), flags, leftAnchor, rightAnchor, topAnchor,
               bottomAnchor);
}

int CResizer::AddInRect(const QRect& rect, unsigned flags, int leftAnchor, int rightAnchor,
                        int topAnchor, int bottomAnchor, int margin)
{
    if (!m_window)
        return 0;
    const QRect area = rect.adjusted(-margin, -margin, margin, margin);
    int added = 0;
    for (QObject* child : m_window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow() || !area.contains(widget->geometry()))
            continue;
        if (Add(widget, flags, leftAnchor, rightAnchor, topAnchor, bottomAnchor) >= 0)
            ++added;
    }
    return added;
}

int CResizer::AddInRect(int frameId, unsigned flags, int leftAnchor, int rightAnchor, int topAnchor,
                        int bottomAnchor, int margin)
{
    const QWidget* frame = FindControl(m_window, frameId);
    if (!frame)
        return 0;
    return AddInRect(frame->geometry(), flags, leftAnchor, rightAnchor, topAnchor, bottomAnchor,
                     margin);
}

void CResizer::RemoveAll()
{
    m_entries.clear();
}

int CResizer::FindEntry(const QWidget* control) const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [control](const Entry& entry) {
        return entry.control == control;
    });
    return it == m_entries.end() ? -1 : static_cast<int>(it - m_entries.begin());
}

void CResizer::Snapshot(const QWidget* control)
{
    if (control) {
        const int index = FindEntry(control);
        if (index >= 0)
            m_entries[static_cast<std::size_t>(index)].reference = EdgesOf(control->geometry());
        return;
    }
    m_referenceSize = GetLayoutArea().size();
    for (Entry& entry : m_entries) {
        if (entry.control)
            entry.reference = EdgesOf(entry.control->geometry());
    }
}

QSize CResizer::LayoutSize() const
{
    if (!m_window)
        return {};
    if (const QAbstractScrollArea* area = ScrollAreaOf(m_window))
        return area->viewport()->size().expandedTo(m_minimumSize);
    return m_window->size();
}

QPoint CResizer::ScrollPosition() const
{
    const QAbstractScrollArea* area = ScrollAreaOf(m_window);
    if (!area)
        return {};
    return {area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()};
}

QRect CResizer::GetLayoutArea() const
{
    return QRect(QPoint(0, 0), LayoutSize()).translated(-ScrollPosition());
}

std::pair<int, int> CResizer::ComputeAxis(const Axis& axis, int delta, double ratio,
                                          const std::vector<Edges>& computed, bool horizontal) const
{
    // The anchor's near and far edge on this axis, before (reference) and after (computed).
    struct Span
    {
        int nearEdge;
        int farEdge;
    };
    const auto spanOf = [horizontal](const Edges& edges) {
        return horizontal ? Span{edges.left, edges.right} : Span{edges.top, edges.bottom};
    };
    const auto anchorOf = [&](int anchor) {
        const auto index = static_cast<std::size_t>(anchor);
        return std::pair{spanOf(m_entries[index].reference), spanOf(computed[index])};
    };

    const int near0 = axis.near0;
    const int far0 = axis.far0;
    int nearEdge = near0;
    switch (axis.nearMode) {
    case kFixed:
        if (axis.nearAnchor >= 0) {
            const auto [before, after] = anchorOf(axis.nearAnchor);
            nearEdge = near0 + (after.nearEdge - before.nearEdge);
        }
        break;
    case kMoves:
        if (axis.nearAnchor >= 0) {
            const auto [before, after] = anchorOf(axis.nearAnchor);
            nearEdge = near0 + (after.farEdge - before.farEdge);
        } else {
            nearEdge = near0 + delta;
        }
        break;
    case kProportional:
        nearEdge = Scaled(near0, ratio);
        break;
    case kKeepSize:
        if (axis.farMode == kKeepSize) {
            // Both edges keep the size: the centre scales.
            const int half = (far0 - near0) / 2;
            if (axis.nearAnchor >= 0) {
                const auto [before, after] = anchorOf(axis.nearAnchor);
                const int anchorHalf = (before.farEdge - before.nearEdge) / 2;
                const int newHalf = (after.farEdge - after.nearEdge) / 2;
                const double offset =
                    static_cast<double>(near0 + half) - (before.nearEdge + anchorHalf);
                nearEdge = static_cast<int>(offset * ratio - half + newHalf + after.nearEdge);
            } else {
                nearEdge = Scaled(near0 + half, ratio) - half;
            }
        }
        break;
    }

    int farEdge = far0;
    switch (axis.farMode) {
    case kFixed:
        if (axis.farAnchor >= 0) {
            const auto [before, after] = anchorOf(axis.farAnchor);
            farEdge = far0 + (after.nearEdge - before.nearEdge);
        }
        break;
    case kMoves:
        if (axis.farAnchor >= 0) {
            const auto [before, after] = anchorOf(axis.farAnchor);
            farEdge = far0 + (after.farEdge - before.farEdge);
        } else {
            farEdge = far0 + delta;
        }
        break;
    case kProportional:
        farEdge = Scaled(far0, ratio);
        break;
    case kKeepSize:
        farEdge = nearEdge + (far0 - near0);
        break;
    }
    return {nearEdge, farEdge};
}

bool CResizer::Resize(const Validator& validator, const Overrides* overrides)
{
    if (!m_window)
        return false;
    if (overrides)
        Snapshot(nullptr);

    const QSize size = LayoutSize();
    const int width = size.width();
    const int height = size.height();
    const int dx = width - m_referenceSize.width();
    const int dy = height - m_referenceSize.height();
    // A window registered at size zero has no proportion to keep.
    const double rx =
        m_referenceSize.width() > 0 ? static_cast<double>(width) / m_referenceSize.width() : 1.0;
    const double ry =
        m_referenceSize.height() > 0 ? static_cast<double>(height) / m_referenceSize.height() : 1.0;

    bool valid = true;
    std::vector<Edges> computed(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        const Edges& ref = entry.reference;
        const unsigned f = entry.flags;
        const auto [left, right] =
            ComputeAxis({ref.left, ref.right, f & kModeMask, (f >> 4) & kModeMask, entry.anchors[0],
                         entry.anchors[1]},
                        dx, rx, computed, true);
        const auto [top, bottom] =
            ComputeAxis({ref.top, ref.bottom, (f >> 8) & kModeMask, (f >> 12) & kModeMask,
                         entry.anchors[2], entry.anchors[3]},
                        dy, ry, computed, false);
        Edges edges{left, top, right, bottom};
        if (overrides) {
            for (const Override& item : *overrides) {
                if (item.control && item.control == entry.control)
                    edges = EdgesOf(item.rect);
            }
            if (edges.left < 0 || edges.top < 0 || edges.right > width || edges.bottom > height ||
                edges.right - edges.left <= 0 || edges.bottom - edges.top <= 0)
                valid = false;
        }
        computed[i] = edges;
    }

    if (validator) {
        std::vector<QRect> rects;
        rects.reserve(computed.size());
        for (const Edges& edges : computed)
            rects.push_back(RectOf(edges));
        QWidget* first = overrides && !overrides->empty() ? overrides->front().control : nullptr;
        valid = validator(first, LayoutInfo{this, width, height, &rects, valid});
    }
    if (!valid)
        return false;

    // One batch: nothing repaints until every control stands in its new place.
    const bool updates = m_window->updatesEnabled();
    m_window->setUpdatesEnabled(false);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (entry.control) {
            const QRect rect = RectOf(computed[i]);
            if (entry.control->geometry() != rect)
                entry.control->setGeometry(rect);
        }
        if (overrides)
            entry.reference = computed[i];
    }
    m_window->setUpdatesEnabled(updates);
    return true;
}
