#include "category/categoryform.h"

#include "category/categoryactions.h"
#include "plaintext.h"
#include "widgets/tablesupport.h"
#include "store/categorytable.h"
#include "store/storetablemodel.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString categoryTable = QStringLiteral("category");

} // namespace

CategoryForm::CategoryForm(QWidget *parent, CategoryActions *categoryMenu)
    : QDialog(parent)
    , mainWindow(categoryMenu)
{
    createModel();
    createView();
    createButtons();
    createLayout();
    setWindowTitle(tr("Edit Category"));
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/edit.png")));
}

void CategoryForm::createModel()
{
    model = new StoreTableModel(categoryTable, this);
    model->setColumnTitle(1, tr("Name"));
    if (!model->read())
        openError = model->lastError();
    connect(model, &QSqlTableModel::beforeInsert, this, &CategoryForm::beforeInsertCategory);
    connect(model, &QSqlTableModel::dataChanged, this, &CategoryForm::CategorydataChanged);
    connect(model, &QSqlTableModel::rowsInserted, this, &CategoryForm::CategoryrowsInserted);
    // Connected before the view's selection model, which moves the current
    // cell off a row that is about to go.
    connect(model, &QSqlTableModel::rowsAboutToBeRemoved, this, [this]() { removingRows = true; });
    connect(model, &QSqlTableModel::rowsRemoved, this, [this]() { removingRows = false; });
}

void CategoryForm::createView()
{
    view = new QTableView(this);
    view->setObjectName(QStringLiteral("categoryView"));
    view->setModel(model);
    // The model learns its columns at its first read; the id column is hidden once they are there.
    view->setColumnHidden(0, true);
    connect(model, &QAbstractItemModel::modelReset, view, [this]() { view->setColumnHidden(0, true); });
    view->setSelectionMode(QAbstractItemView::SingleSelection);

    // The view submits the model whenever the current row changes, even when
    // the current row is the one being dropped: a pending new row would be
    // written just before it goes. Only a row that is left is written here.
    disconnect(view->selectionModel(), SIGNAL(currentRowChanged(QModelIndex, QModelIndex)), model, SLOT(submit()));
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CategoryForm::submitLeftRow);
    // Enter in an editor submits the row too, without telling whether the
    // store took it.
    connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache)
                    reportFailedSubmit();
            });
}

void CategoryForm::createButtons()
{
    addButton = TableSupport::makeButton(this, tr("&Add"), tr("add a category"), QStringLiteral(":/menuicon/add.png"),
                                         "addButton");
    deleteButton = TableSupport::makeButton(this, tr("&Delete"), tr("delete a category"),
                                            QStringLiteral(":/menuicon/delete.png"), "deleteButton");
    closeButton = TableSupport::makeButton(this, tr("Clos&e"), tr("close dialog"),
                                           QStringLiteral(":/menuicon/close.png"), "closeButton");
    connect(addButton, &QPushButton::clicked, this, &CategoryForm::addCategory);
    connect(deleteButton, &QPushButton::clicked, this, &CategoryForm::deleteCategory);
    connect(closeButton, &QPushButton::clicked, this, &CategoryForm::accept);
}

void CategoryForm::createLayout()
{
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(addButton);
    buttonRow->addWidget(deleteButton);
    buttonRow->addStretch();
    buttonRow->addWidget(closeButton);
    auto *layout = new QVBoxLayout;
    layout->addWidget(view);
    layout->addLayout(buttonRow);
    setLayout(layout);
}

void CategoryForm::resizeEvent(QResizeEvent *)
{
    TableSupport::setColumnWidths(view, {1}, view->width());
}

void CategoryForm::addCategory()
{
    // The model holds one pending row at a time: an edit not yet written
    // goes first.
    if (!TableSupport::writePending(model, view, this))
        return;
    const int row = model->rowCount();
    if (!model->insertRows(row, 1))
        return;
    const QModelIndex name = model->index(row, 1);
    newRow = name;
    TableSupport::editCell(view, name);
}

void CategoryForm::deleteCategory()
{
    // Deletes without asking when the category holds no cards: only a row
    // the user chose, read before the focus moves.
    const QModelIndex current = TableSupport::chosenCell(view);
    view->setFocus(Qt::OtherFocusReason);
    if (!current.isValid())
        return;
    const int row = current.row();
    if (isNewRow(row)) {
        // Never stored: nothing to count, nothing in the menu.
        model->removeRows(row, 1);
        return;
    }
    if (!TableSupport::writePending(model, view, this))
        return;

    const QSqlRecord record = model->record(row);
    const int id = record.value(QStringLiteral("id")).toInt();
    const QString name = record.value(QStringLiteral("name")).toString();
    QSqlError error;
    const std::optional<int> cards = CategoryTable::countCards(id, &error);
    if (!cards) {
        // Cards that cannot be counted may be there: nothing is deleted.
        TableSupport::reportReadError(this, error);
        return;
    }
    if (*cards > 0) {
        refuseDeletion(
            tr("Cannot delete %1 because there are Cards associated with this category in the collection.").arg(name));
        return;
    }
    if (!model->removeRows(row, 1)) {
        error = model->lastError();
        model->revertRow(row);
        TableSupport::reportWriteError(this, error);
        return;
    }
    mainWindow->removeCategoryAction(id);
    // A deleted row stays behind as a blank one until the model is read again.
    if (!model->read())
        TableSupport::reportReadError(this, model->lastError());
}

void CategoryForm::accept()
{
    if (writeOnClose())
        QDialog::accept();
}

void CategoryForm::reject()
{
    if (writeOnClose())
        QDialog::reject();
}

bool CategoryForm::writeOnClose()
{
    TableSupport::commitOpenEditor(view);
    if (newRow.isValid() && model->data(newRow, Qt::EditRole).toString().trimmed().isEmpty()) {
        model->revertRow(newRow.row());
        newRow = QPersistentModelIndex();
    }
    // A written row comes back through dataChanged, which keeps the menu in step.
    if (!model->isDirty() || model->submitAll())
        return true;
    const QSqlError error = model->lastError();
    if (!closeRefused) {
        closeRefused = true;
        TableSupport::reportWriteError(this, error);
        return false;
    }
    if (PlainText::tell(this, QMessageBox::Question, tr("Edit Category"),
                        tr("The categories could not be written. Close anyway and lose them?"),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No, error.text())
        != QMessageBox::Yes)
        return false;
    model->revertAll();
    return true;
}

void CategoryForm::refuseDeletion(const QString &text)
{
    PlainText::tell(this, QMessageBox::Information, tr("Delete Category"), text);
}

void CategoryForm::beforeInsertCategory(QSqlRecord &record)
{
    model->assignNextId(record);
}

// The model reports a changed cell twice: when the editor commits it (the row
// is then pending) and when the row has been written and read back. The menu
// follows the second only.
void CategoryForm::CategorydataChanged(const QModelIndex &topLeft, const QModelIndex &)
{
    const int row = topLeft.row();
    if (model->isDirty(model->index(row, 1)))
        return;
    const QSqlRecord record = model->record(row);
    if (record.isNull(QStringLiteral("id")))
        return;
    const int id = record.value(QStringLiteral("id")).toInt();
    const QString name = record.value(QStringLiteral("name")).toString();
    if (isNewRow(row)) {
        newRow = QPersistentModelIndex();
        mainWindow->addCategoryAction(id, name);
    } else {
        mainWindow->renameCategoryAction(id, name);
    }
}

void CategoryForm::CategoryrowsInserted(const QModelIndex &, int, int) { }

void CategoryForm::submitLeftRow(const QModelIndex &, const QModelIndex &previous)
{
    if (removingRows || !previous.isValid() || !model->isDirty(model->index(previous.row(), 1)))
        return;
    model->submit();
    reportFailedSubmit();
}

bool CategoryForm::isNewRow(int row) const
{
    return newRow.isValid() && newRow.row() == row;
}

void CategoryForm::reportFailedSubmit()
{
    if (!model->isDirty())
        return;
    const QSqlError error = model->lastError();
    // Shown once the view has finished the event that submitted.
    QMetaObject::invokeMethod(
        this, [this, error]() { TableSupport::reportWriteError(this, error); }, Qt::QueuedConnection);
}
