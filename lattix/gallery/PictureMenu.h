#pragma once

#include "velk/PopupMenu.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPoint>

#include <algorithm>

// For the galleries: a popup menu that draws itself into a picture where it would open,
// instead of waiting for a choice. A submenu named "Show ..." is drawn opened beside it, as
// a user hovering over it would see it.
class PictureMenu : public CPopupMenu
{
public:
    explicit PictureMenu(QPixmap& shot, QPoint& at) : m_shot(shot), m_at(at) {}

protected:
    QAction* ExecMenu(QMenu& menu, const QPoint& globalPos, QWidget*) override
    {
        menu.popup(globalPos);
        menu.adjustSize();
        // Open the first submenu that has items, as a user hovering over it would.
        for (QAction* action : menu.actions()) {
            if (action->menu() && action->isEnabled() && action->text().contains("Show")) {
                menu.setActiveAction(action);
                break;
            }
        }
        QPixmap picture = menu.grab();
        if (QAction* active = menu.activeAction(); active && active->menu()) {
            QMenu* sub = active->menu();
            sub->adjustSize();
            const QPixmap subPicture = sub->grab();
            const QRect item = menu.actionGeometry(active);
            QPixmap both(picture.width() + subPicture.width(),
                         std::max(picture.height(), item.top() + subPicture.height()));
            both.fill(Qt::transparent);
            QPainter painter(&both);
            painter.drawPixmap(0, 0, picture);
            painter.drawPixmap(picture.width(), item.top(), subPicture);
            painter.end();
            picture = both;
        }
        m_shot = picture;
        m_at = globalPos;
        menu.close();
        return nullptr;
    }

private:
    QPixmap& m_shot;
    QPoint& m_at;
};
