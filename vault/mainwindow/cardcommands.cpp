// Adding, opening and deleting cards.
#include "mainwindow/mainwindow.h"

#include "cardeditor/cardform.h"
#include "store/tableids.h"

#include <QSqlRecord>

void MainWindow::beforeInsertCard(QSqlRecord &record)
{
    TableIds::assignNextId(record, QStringLiteral("card"));
}

void MainWindow::openCard()
{
}

void MainWindow::addCard()
{
}

void MainWindow::deleteCard()
{
}
