#include "mainwindow/openmainwindow.h"

#include "mainwindow/mainwindow.h"

#include <QGuiApplication>
#include <QScreen>

MainWindow *openMainWindow()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int w = screen.width();
    const int h = screen.height();
    auto *window = new MainWindow;
    window->setGeometry(w / 4, h / 4, w / 2, h / 2);
    window->show();
    return window;
}
