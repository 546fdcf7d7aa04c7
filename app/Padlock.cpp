#include "app/Padlock.h"

#include <QPainter>
#include <QPainterPath>

QImage CPadlock::Strip(int size)
{
    constexpr int kDensity = 2;
    QImage strip(2 * size * kDensity, size * kDensity, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    strip.setDevicePixelRatio(kDensity);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(size, 0);
    const double unit = size / 16.0;
    // The shackle, then the body with its keyhole.
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.8 * unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(4.5 * unit, 1.5 * unit, 7 * unit, 9 * unit), 0, 180 * 16);
    painter.drawLine(QPointF(4.5 * unit, 6 * unit), QPointF(4.5 * unit, 8 * unit));
    painter.drawLine(QPointF(11.5 * unit, 6 * unit), QPointF(11.5 * unit, 8 * unit));
    painter.setPen(QPen(QColor(0x8a, 0x62, 0x0a), 1.0 * unit));
    painter.setBrush(QColor(0xe8, 0xb0, 0x20));
    painter.drawRoundedRect(QRectF(2.5 * unit, 7.5 * unit, 11 * unit, 7.5 * unit), 1.2 * unit,
                            1.2 * unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x50, 0x38, 0x05));
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(8 * unit, 10.3 * unit), 1.3 * unit, 1.3 * unit);
    keyhole.addRect(QRectF(7.4 * unit, 10.3 * unit, 1.2 * unit, 2.8 * unit));
    painter.drawPath(keyhole.simplified());
    return strip;
}
