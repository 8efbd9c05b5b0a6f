#include "widget.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Widget widget;
    widget.show();
    QObject::connect(&widget, &Widget::done, &app, &QCoreApplication::quit);
    return app.exec();
}
