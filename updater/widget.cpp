#include "widget.h"

Widget::Widget(QWidget *parent)
    : QProgressBar(parent)
{
    setMinimum(0);
    setWindowIcon(QIcon(QStringLiteral(":/update.png")));
}
