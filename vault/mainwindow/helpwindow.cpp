// The help window: one page of rich text, created once.
#include "mainwindow/mainwindow.h"

void MainWindow::helpWindow()
{
}
