#include "cardeditor/mydelegate.h"

myDelegate::myDelegate(QObject *parent)
    : QItemDelegate(parent)
{
}

QString myDelegate::iconPath(int type) const
{
    Q_UNUSED(type);
    return QString();
}
