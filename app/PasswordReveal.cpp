#include "app/PasswordReveal.h"

#include <QAction>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace {

// An eye drawn in the palette's text colour, so that no image file is needed; drawn for
// ordinary and for double-density screens, so that it stays sharp on both.
QIcon EyeIcon(const QColor& color)
{
    QIcon icon;
    for (const int ratio : {1, 2}) {
        QPixmap pixmap(16 * ratio, 16 * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(color, 1.3));
        painter.drawEllipse(QRectF(1.5, 4.5, 13, 7));
        painter.setBrush(color);
        painter.drawEllipse(QPointF(8, 8), 2, 2);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

void CPasswordReveal::Attach(QLineEdit& edit)
{
    edit.setEchoMode(QLineEdit::Password);
    auto* eye =
        new QAction(EyeIcon(edit.palette().color(QPalette::Text)), tr("Show password"), &edit);
    eye->setCheckable(true);
    eye->setToolTip(eye->text());
    QObject::connect(eye, &QAction::toggled, &edit, [&edit](bool shown) {
        edit.setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    edit.addAction(eye, QLineEdit::TrailingPosition);
}
