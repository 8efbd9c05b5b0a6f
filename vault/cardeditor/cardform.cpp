#include "cardeditor/cardform.h"

#include "cardeditor/clipboardguard.h"
#include "cardeditor/passwordgenerator.h"
#include "plaintext.h"
#include "widgets/qmenuex.h"
#include "widgets/tablesupport.h"
#include "store/cardtable.h"
#include "store/cardtypes.h"
#include "store/storetablemodel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

CardForm::CardForm(QWidget *parent)
    : QDialog(parent)
{
    createModel();
    createView();
    createMenuAndButtons();
    // Wide enough that a generated password stands on one line.
    const int valueWidth =
        fontMetrics().horizontalAdvance(QString(PasswordGenerator::passwordLength, QLatin1Char('M')));
    resize(sizeHint().expandedTo(QSize(2 * (valueWidth + 40) + 60, 360)));
}

void CardForm::createModel()
{
    // The columns are learnt at the first opening, and only read through
    // that card's filter.
    model = new StoreTableModel(QStringLiteral("content"), this);
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->setColumnTitle(1, tr("Title"));
    model->setColumnTitle(2, tr("Value"));
    connect(model, &QSqlTableModel::beforeInsert, this, &CardForm::beforeInsertContent);
}

void CardForm::createView()
{
    view = new QTableView(this);
    view->setObjectName(QStringLiteral("contentView"));
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    // Return moves on to the next line instead of reaching the dialog,
    // whose default button would add an empty line.
    view->installEventFilter(this);
}

bool CardForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    TableSupport::commitOpenEditor(view);
    const QModelIndex current = view->currentIndex();
    if (current.isValid() && current.row() + 1 < model->rowCount())
        view->setCurrentIndex(model->index(current.row() + 1, 2));
    return true;
}

void CardForm::createMenuAndButtons()
{
    QAction *copyAction = TableSupport::makeAction(this, tr("&Copy"), tr("copy current indexical unit"),
                                                   QStringLiteral(":/menuicon/copy.png"), tr("ctrl+C"));
    QAction *pasteAction = TableSupport::makeAction(this, tr("&Paste"), tr("paste to current indexical unit"),
                                                    QStringLiteral(":/menuicon/paste.png"), tr("ctrl+V"));
    QAction *addAction =
        TableSupport::makeAction(this, tr("&Add Line"), tr("add a new line"), QStringLiteral(":/menuicon/add.png"));
    QAction *deleteAction = TableSupport::makeAction(this, tr("&Delete Line"), tr("delete a line"),
                                                     QStringLiteral(":/menuicon/delete.png"));
    QAction *generateAction =
        TableSupport::makeAction(this, tr("&Generate Password"), tr("fill the current value with a new password"),
                                 QStringLiteral(":/menuicon/key.png"));
    QAction *closeAction =
        TableSupport::makeAction(this, tr("Clos&e"), tr("close dialog"), QStringLiteral(":/menuicon/close.png"));

    auto *menuBar = new QMenuBar(this);
    auto *menu = new QMenuEx(tr("&Menu"), this);
    menuBar->addMenu(menu);
    menu->addAction(copyAction);
    menu->addAction(pasteAction);
    menu->addAction(addAction);
    menu->addAction(deleteAction);
    menu->addAction(generateAction);
    menu->addSeparator();
    menu->addAction(closeAction);
    connect(copyAction, &QAction::triggered, this, &CardForm::copy);
    connect(pasteAction, &QAction::triggered, this, &CardForm::paste);
    connect(addAction, &QAction::triggered, this, &CardForm::addContent);
    connect(deleteAction, &QAction::triggered, this, &CardForm::deleteContent);
    connect(generateAction, &QAction::triggered, this, &CardForm::generatePassword);
    connect(closeAction, &QAction::triggered, this, &CardForm::close);

    addButton = TableSupport::makeButton(this, tr("&Add Line"), tr("add a new line"),
                                         QStringLiteral(":/menuicon/add.png"), "addLineButton");
    closeButton = TableSupport::makeButton(this, tr("Clos&e"), tr("close dialog"),
                                           QStringLiteral(":/menuicon/close.png"), "closeButton");
    // Return moves between lines; it never adds one.
    addButton->setAutoDefault(false);
    connect(addButton, &QPushButton::clicked, this, &CardForm::addContent);
    connect(closeButton, &QPushButton::clicked, this, &CardForm::close);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(addButton);
    buttonRow->addStretch();
    buttonRow->addWidget(closeButton);
    auto *layout = new QVBoxLayout;
    layout->setMenuBar(menuBar);
    layout->addWidget(view);
    layout->addLayout(buttonRow);
    setLayout(layout);
}

bool CardForm::writePending()
{
    TableSupport::commitOpenEditor(view);
    // A line without title and value holds nothing worth a row.
    for (int row = model->rowCount() - 1; row >= 0; --row) {
        if (model->data(model->index(row, 1)).toString().isEmpty()
            && model->data(model->index(row, 2)).toString().isEmpty())
            model->removeRows(row, 1);
    }
    return TableSupport::writePending(model, view, this);
}

void CardForm::recvOpenCard(int id, int type)
{
    // What the user typed for the card shown so far is written first; when
    // the store refuses it, the editor keeps that card and its changes.
    if (!writePending())
        return;
    const bool firstRead = model->columnCount() == 0;
    if (!model->read(CardTable::linesFilter(id))) {
        // Nothing is pending, so nothing is lost; a blank editor would let
        // the user type lines over ones that exist.
        hide();
        TableSupport::reportReadError(parentWidget(), model->lastError());
        return;
    }
    // The view has no columns to hide before the model knows them.
    if (firstRead) {
        view->setColumnHidden(0, true);
        view->setColumnHidden(3, true);
    }
    cardId = id;
    if (model->rowCount() == 0 && addTemplateContent(type)) {
        const QModelIndex first = model->index(0, 2);
        view->setCurrentIndex(first);
        view->edit(first);
    } else if (model->rowCount() > 0) {
        view->setCurrentIndex(model->index(0, 2));
        view->scrollToTop();
    }
}

void CardForm::forgetCard(int id)
{
    if (id != cardId)
        return;
    // Reselecting also closes an open cell editor without committing it.
    model->revertAll();
    model->read();
    hide();
}

void CardForm::appendLine(int row, const QString &title)
{
    model->insertRows(row, 1);
    QSqlRecord record = model->record(row);
    // Both columns are NOT NULL: an empty value, never a null one.
    StoreTableModel::setField(record, QStringLiteral("title"), title);
    StoreTableModel::setField(record, QStringLiteral("value"), QLatin1String(""));
    model->setRecord(row, record);
}

bool CardForm::addTemplateContent(int type)
{
    const CardTypes::CardType *cardType = CardTypes::find(type);
    if (!cardType)
        return false;
    int row = 0;
    for (const char *title : cardType->lines)
        appendLine(row++, tr(title));
    return true;
}

void CardForm::addContent()
{
    const int row = model->rowCount();
    appendLine(row, QLatin1String(""));
    TableSupport::editCell(view, model->index(row, 2));
}

void CardForm::deleteContent()
{
    const QModelIndex current = TableSupport::chosenCell(view);
    view->setFocus(Qt::OtherFocusReason);
    if (!current.isValid())
        return;
    TableSupport::commitOpenEditor(view);
    model->removeRows(current.row(), 1);
    writePending();
}

void CardForm::beforeInsertContent(QSqlRecord &record)
{
    model->assignNextId(record);
    StoreTableModel::setField(record, QStringLiteral("cardid"), cardId);
}

void CardForm::copy()
{
    const QString text = model->data(view->currentIndex(), Qt::EditRole).toString();
    ClipboardGuard::instance()->copy(text);
}

void CardForm::paste()
{
    const QModelIndex current = TableSupport::chosenCell(view);
    if (current.isValid())
        model->setData(current, QGuiApplication::clipboard()->text(QClipboard::Clipboard), Qt::EditRole);
}

QModelIndex CardForm::chosenValueCell() const
{
    const QModelIndex chosen = TableSupport::chosenCell(view);
    return chosen.column() == 2 ? chosen : QModelIndex();
}

void CardForm::generatePassword()
{
    const QModelIndex cell = chosenValueCell();
    if (!cell.isValid())
        return;
    // An editor left open would write its text over the password when it closes.
    TableSupport::commitOpenEditor(view);
    if (!model->data(cell, Qt::EditRole).toString().isEmpty()) {
        if (PlainText::tell(this, QMessageBox::Question, tr("Generate Password"),
                            tr("Replace this value with a new password?"), QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No)
            != QMessageBox::Yes)
            return;
    }
    model->setData(cell, PasswordGenerator::generate(), Qt::EditRole);
}

// A failed write keeps the dialog open with its changes.
void CardForm::accept()
{
    if (writePending())
        QDialog::accept();
}

void CardForm::reject()
{
    if (writePending())
        QDialog::reject();
}

void CardForm::resizeEvent(QResizeEvent *)
{
    TableSupport::setColumnWidths(view, {1, 2}, TableSupport::widthBesideRowHeader(view) / 2 - 20);
}
