#include "widgets/qmenuex.h"

#include <QHelpEvent>
#include <QToolTip>

QMenuEx::QMenuEx(const QString &title, QWidget *parent)
    : QMenu(title, parent)
{ }

bool QMenuEx::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(e);
        if (QAction *action = actionAt(help->pos())) {
            QToolTip::showText(help->globalPos(), action->toolTip(), this);
            return true;
        }
    }
    return QMenu::event(e);
}
