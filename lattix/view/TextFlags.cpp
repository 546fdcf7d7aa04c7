#include "lattix/view/TextFlags.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

namespace Lattix::TextFlags {

Qt::Alignment ToAlignment(std::uint32_t flags)
{
    Qt::Alignment alignment = Qt::AlignLeft;
    if (flags & Right)
        alignment = Qt::AlignRight;
    else if (flags & Center)
        alignment = Qt::AlignHCenter;

    if (flags & SingleLine) {
        if (flags & Bottom)
            alignment |= Qt::AlignBottom;
        else if (flags & VCenter)
            alignment |= Qt::AlignVCenter;
        else
            alignment |= Qt::AlignTop;
    } else {
        alignment |= Qt::AlignTop;
    }
    return alignment;
}

int PlaceHorizontally(std::uint32_t flags, int left, int right, int width, int margin)
{
    if (flags & Right)
        return right - width - margin;
    if (flags & Center)
        return left + (right - left - width) / 2;
    return left + margin;
}

void DrawText(QPainter& painter, const QRect& rect, const QString& text, std::uint32_t flags)
{
    if (text.isEmpty() || rect.isEmpty())
        return;

    QString shown = text;
    if ((flags & SingleLine) && (shown.contains(u'\n') || shown.contains(u'\r'))) {
        shown.replace(u'\n', u' ');
        shown.replace(u'\r', u' ');
    }
    const QFontMetrics metrics = painter.fontMetrics();
    if ((flags & EndEllipsis) && metrics.horizontalAdvance(shown) > rect.width())
        shown = metrics.elidedText(shown, Qt::ElideRight, rect.width());

    int qtFlags = static_cast<int>(ToAlignment(flags));
    if (!(flags & SingleLine) && (flags & WordBreak))
        qtFlags |= Qt::TextWordWrap;
    if (flags & NoClip) {
        qtFlags |= Qt::TextDontClip;
        painter.drawText(rect, qtFlags, shown);
        return;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, qtFlags, shown);
    painter.restore();
}

} // namespace Lattix::TextFlags
