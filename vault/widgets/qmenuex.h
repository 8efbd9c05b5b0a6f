#ifndef QMENUEX_H
#define QMENUEX_H

#include <QMenu>

// A menu that shows the tool tip of the entry under the pointer, which a
// plain QMenu does not.
class QMenuEx : public QMenu
{
    Q_OBJECT

public:
    QMenuEx(const QString &title, QWidget *parent);

protected:
    bool event(QEvent *e) override;
};

#endif
