#include "widget.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Widget widget;
    widget.startDownload(widget.fileUrl(0));
    widget.placeOnScreen();
    widget.show();
    QObject::connect(&widget, &Widget::done, &app, &QCoreApplication::quit);
    return app.exec();
}
