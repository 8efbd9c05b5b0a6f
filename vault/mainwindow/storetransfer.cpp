// Export of the store file and import of another store.
#include "mainwindow/mainwindow.h"

void MainWindow::exportCard()
{
}

void MainWindow::importCard()
{
}
