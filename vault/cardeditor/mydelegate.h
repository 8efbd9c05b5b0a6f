#ifndef MYDELEGATE_H
#define MYDELEGATE_H

#include <QItemDelegate>

// Shows and edits the card table's type and category columns by name.
class myDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit myDelegate(QObject *parent = nullptr);

    QString iconPath(int type) const;
};

#endif
