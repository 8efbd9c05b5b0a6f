#include "widget.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/update.png")));
    return Widget::run(UpdateSetup(), QCoreApplication::arguments(), QLocale::system().name());
}
