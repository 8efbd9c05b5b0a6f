// Adding, opening and deleting cards.
#include "mainwindow/mainwindow.h"

#include "cardeditor/cardform.h"
#include "plaintext.h"
#include "widgets/tablesupport.h"
#include "store/cardtable.h"
#include "store/cardtypes.h"
#include "store/categorytable.h"
#include "store/storetablemodel.h"
#include "store/tableids.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>

namespace {

int rowOfCard(QSqlTableModel *model, int id)
{
    for (int row = model->rowCount() - 1; row >= 0; --row) {
        if (model->record(row).value(0).toInt() == id)
            return row;
    }
    return -1;
}

} // namespace

bool MainWindow::takeCurrentCard(QSqlRecord &record)
{
    // Read before the table takes the focus: a table that gains it without
    // a current cell makes its first cell current.
    const QModelIndex current = cardView->currentIndex();
    cardView->setFocus(Qt::OtherFocusReason);
    // A table read that failed before shows rows that may be gone; it is
    // read again, and the user chooses among what the store holds now.
    if (cardModel->isStale()) {
        if (!cardModel->read())
            TableSupport::reportReadError(this, cardModel->lastError());
        return false;
    }
    if (!current.isValid())
        return false;
    record = cardModel->record(current.row());
    return true;
}

void MainWindow::beforeInsertCard(QSqlRecord &record)
{
    cardModel->assignNextId(record);
}

void MainWindow::openCard()
{
    if (!cardForm) {
        cardForm = new CardForm(this);
        connect(this, SIGNAL(transOpenCard(int, int)), cardForm, SLOT(recvOpenCard(int, int)));
    }
    QSqlRecord record;
    if (!takeCurrentCard(record))
        return;
    const int id = record.value(QStringLiteral("id")).toInt();
    emit transOpenCard(id, record.value(1).toInt());
    // When the editor could not write the card it showed, it stays open on
    // that card; when it could not read this card's lines, it stays closed.
    if (cardForm->shownCard() != id && !cardForm->isVisible())
        return;
    if (cardForm->shownCard() == id)
        cardForm->setWindowTitle(record.value(2).toString());
    cardForm->setVisible(true);
    cardForm->activateWindow();
}

void MainWindow::addCard()
{
    if (!savePendingEdits())
        return;
    // The newest category, never a guess: a store that cannot be asked gets no card.
    QSqlError error;
    const std::optional<int> category = CategoryTable::largestId(&error);
    if (!category) {
        TableSupport::reportWriteError(this, error);
        return;
    }
    // Under a find the new card, named "card name", would not be shown.
    leaveFind();
    const int row = cardModel->rowCount();
    cardModel->insertRows(row, 1);
    QSqlRecord record = cardModel->record(row);
    StoreTableModel::setField(record, QStringLiteral("name"), tr("card name"));
    StoreTableModel::setField(record, QStringLiteral("type"), CardTypes::newCardType);
    StoreTableModel::setField(record, QStringLiteral("categoryid"), *category);
    cardModel->setRecord(row, record);
    if (!cardModel->submitAll()) {
        // The refused card is not left behind to be written by a later action.
        cardModel->revertRow(row);
        TableSupport::reportWriteError(this, cardModel->lastError());
        return;
    }
    // The new card has the largest id; under another category's filter it is not shown.
    const int newRow = rowOfCard(cardModel, TableIds::maxId(QStringLiteral("card")));
    if (newRow < 0)
        return;
    TableSupport::editCell(cardView, cardModel->index(newRow, 2));
}

void MainWindow::deleteCard()
{
    QSqlRecord record;
    if (!takeCurrentCard(record))
        return;
    const int id = record.value(QStringLiteral("id")).toInt();
    const QString name = record.value(QStringLiteral("name")).toString();

    if (PlainText::tell(this, QMessageBox::Question, tr("delete %1").arg(name),
                        tr("Do you want to delete %1?").arg(name), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;

    if (!savePendingEdits())
        return;
    // Everything pending was written above, so after a refused deletion the
    // table still shows what the store holds; reading it again now could
    // fail on the same lock and leave the table without its columns.
    QSqlError error;
    if (!CardTable::deleteCard(id, &error)) {
        TableSupport::reportWriteError(this, error);
        return;
    }
    if (cardForm)
        cardForm->forgetCard(id);
    if (!cardModel->read())
        TableSupport::reportReadError(this, cardModel->lastError());
}
