#include "mainwindow/mainwindow.h"

#include "access/encryptstore.h"
#include "access/login.h"
#include "access/setpw.h"
#include "cardeditor/cardform.h"
#include "cardeditor/mydelegate.h"
#include "category/categoryform.h"
#include "mainwindow/about.h"
#include "mainwindow/findbar.h"
#include "plaintext.h"
#include "widgets/qmenuex.h"
#include "widgets/tablesupport.h"
#include "store/cardfilter.h"
#include "store/storeencryption.h"
#include "store/storetablemodel.h"
#include "store/tableids.h"

#include "programfiles.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QDialog(parent)
{
    auto *menuBar = new QMenuBar(this);
    categoryGroup = new QActionGroup(this);
    createCategoryMenu(menuBar);
    createCardTable();
    createCardMenu(menuBar);
    createFind();
    createOptionsMenu(menuBar);
    menuBar->addSeparator();
    createHelpMenu(menuBar);
    createLayout(menuBar);
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/sc.png")));
    setWindowTitle(tr("Nimbrel %1").arg(ProgramFiles::versionText()));
    loadCategoryActions();
}

MainWindow::~MainWindow()
{
    // QWidget's destructor hides the children, and the header then tells of
    // new geometries to what is no longer a MainWindow.
    disconnect(cardView->verticalHeader(), nullptr, this, nullptr);
    delete unlockLogin;
}

void MainWindow::createCategoryMenu(QMenuBar *menuBar)
{
    QAction *editAction = TableSupport::makeAction(this, tr("&Edit"), tr("open Edit Category dialog"),
                                                   QStringLiteral(":/menuicon/edit.png"), tr("ctrl+E"));
    allAction = TableSupport::makeAction(this, tr("&All"), tr("display all cards in main view"),
                                         QStringLiteral(":/menuicon/all.png"), tr("ctrl+A"));
    allAction->setCheckable(true);
    allAction->setData(0);
    categoryGroup->addAction(allAction);
    connect(editAction, &QAction::triggered, this, &MainWindow::editCategory);
    connect(allAction, &QAction::triggered, this, &MainWindow::openAllCategory);

    categoryMenu = new QMenuEx(tr("&Category"), this);
    menuBar->addMenu(categoryMenu);
    categoryMenu->addAction(editAction);
    categoryMenu->addSeparator();
    categoryMenu->addAction(allAction);
}

void MainWindow::createCardTable()
{
    // Read by loadCategoryActions, with the stored filter.
    cardModel = new StoreTableModel(QStringLiteral("card"), this);
    cardFilter = new CardFilter(this);
    connect(cardFilter, &CardFilter::categoryShown, this, &MainWindow::showCategoryCheck);
    connect(cardFilter, &CardFilter::changed, this, &MainWindow::readCards);
    cardModel->setEditStrategy(QSqlTableModel::OnManualSubmit);
    cardModel->setColumnTitle(1, tr("Type"));
    cardModel->setColumnTitle(2, tr("Name"));
    cardModel->setColumnTitle(3, tr("Category"));
    connect(cardModel, &QSqlTableModel::beforeInsert, this, &MainWindow::beforeInsertCard);

    cardView = new QTableView(this);
    cardView->setObjectName(QStringLiteral("cardView"));
    cardView->setModel(cardModel);
    cardDelegate = new myDelegate(this);
    cardView->setItemDelegate(cardDelegate);
    // Read with the table, as a category another program added may be named there now.
    connect(cardModel, &QAbstractItemModel::modelReset, cardDelegate, &myDelegate::loadNames);
    // The model learns its columns at its first read; the id column is hidden once they are there.
    connect(cardModel, &QAbstractItemModel::modelReset, cardView, [this]() { cardView->setColumnHidden(0, true); });
    cardView->setSelectionMode(QAbstractItemView::SingleSelection);
    cardView->verticalHeader()->setDefaultSectionSize(36);
    // The row header widens as the row count gains digits; the columns make room.
    connect(cardView->verticalHeader(), &QHeaderView::geometriesChanged, this, &MainWindow::fitColumns);
}

void MainWindow::createCardMenu(QMenuBar *menuBar)
{
    QAction *openAction = TableSupport::makeAction(this, tr("&Open"), tr("open current indexical card"),
                                                   QStringLiteral(":/menuicon/open.png"), tr("ctrl+O"));
    QAction *addAction = TableSupport::makeAction(this, tr("&Add"), tr("add a new card"),
                                                  QStringLiteral(":/menuicon/add.png"), tr("ctrl+N"));
    QAction *deleteAction = TableSupport::makeAction(this, tr("&Delete"), tr("delete a card"),
                                                     QStringLiteral(":/menuicon/delete.png"), tr("ctrl+D"));
    connect(openAction, &QAction::triggered, this, &MainWindow::openCard);
    connect(addAction, &QAction::triggered, this, &MainWindow::addCard);
    connect(deleteAction, &QAction::triggered, this, &MainWindow::deleteCard);

    cardMenu = new QMenuEx(tr("Ca&rd"), this);
    menuBar->addMenu(cardMenu);
    cardMenu->addAction(openAction);
    cardMenu->addAction(addAction);
    cardMenu->addAction(deleteAction);
}

void MainWindow::createOptionsMenu(QMenuBar *menuBar)
{
    auto *optionsMenu = new QMenuEx(tr("&Options"), this);
    menuBar->addMenu(optionsMenu);
    QAction *passwordAction = TableSupport::makeAction(this, tr("Set &Password"), tr("chang password"),
                                                       QStringLiteral(":/menuicon/setpassword.png"));
    encryptAction = TableSupport::makeAction(this, tr("Encrypt the Store..."),
                                             tr("encrypt the cards so that only the password opens the store"),
                                             QStringLiteral(":/menuicon/key.png"));
    encryptAction->setCheckable(true);
    showEncryption();
    QAction *exportAction = TableSupport::makeAction(this, tr("Export Data..."), tr("export cards database"),
                                                     QStringLiteral(":/menuicon/export.png"));
    QAction *importAction = TableSupport::makeAction(this, tr("Import Data..."), tr("import cards database"),
                                                     QStringLiteral(":/menuicon/import.png"));
    connect(passwordAction, &QAction::triggered, this, &MainWindow::setPassword);
    connect(encryptAction, &QAction::triggered, this, &MainWindow::encryptStore);
    connect(exportAction, &QAction::triggered, this, &MainWindow::exportCard);
    connect(importAction, &QAction::triggered, this, &MainWindow::importCard);
    QAction *importCsvAction = TableSupport::makeAction(
        this, tr("Import CSV..."), tr("import cards from a CSV file of a browser or password manager"),
        QStringLiteral(":/menuicon/import.png"));
    QAction *exportCsvAction = TableSupport::makeAction(this, tr("Export CSV..."), tr("export cards to a CSV file"),
                                                        QStringLiteral(":/menuicon/export.png"));
    connect(importCsvAction, &QAction::triggered, this, &MainWindow::importCsv);
    connect(exportCsvAction, &QAction::triggered, this, &MainWindow::exportCsv);

    auto *languageMenu = new QMenuEx(tr("&Language"), optionsMenu);
    languageMenu->setIcon(QIcon(QStringLiteral(":/menuicon/language.png")));
    optionsMenu->addAction(passwordAction);
    optionsMenu->addAction(encryptAction);
    optionsMenu->addMenu(languageMenu);
    optionsMenu->addAction(exportAction);
    optionsMenu->addAction(importAction);
    optionsMenu->addAction(importCsvAction);
    optionsMenu->addAction(exportCsvAction);
    optionsMenu->addSeparator();
    createLockEntries(optionsMenu);
    createLanguageEntries(languageMenu);
}

void MainWindow::createHelpMenu(QMenuBar *menuBar)
{
    auto *helpMenu = new QMenuEx(tr("&Help"), this);
    menuBar->addMenu(helpMenu);
    QAction *helpAction = TableSupport::makeAction(this, tr("&Help"), QString(), QStringLiteral(":/menuicon/help.png"));
    QAction *aboutAction =
        TableSupport::makeAction(this, tr("&About"), QString(), QStringLiteral(":/menuicon/about.png"));
    connect(helpAction, &QAction::triggered, this, &MainWindow::helpWindow);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::aboutDialog);
    helpMenu->addAction(helpAction);
    helpMenu->addSeparator();
    helpMenu->addAction(aboutAction);
}

void MainWindow::createLayout(QMenuBar *menuBar)
{
    QPushButton *openButton = TableSupport::makeButton(this, tr("O&pen"), tr("open current indexical card"),
                                                       QStringLiteral(":/menuicon/open.png"), "openButton");
    QPushButton *addButton = TableSupport::makeButton(this, tr("&Add"), tr("add a new card"),
                                                      QStringLiteral(":/menuicon/add.png"), "addButton");
    QPushButton *closeButton = TableSupport::makeButton(this, tr("Clos&e"), tr("exit Nimbrel"),
                                                        QStringLiteral(":/menuicon/close.png"), "closeButton");
    connect(openButton, &QPushButton::clicked, this, &MainWindow::openCard);
    connect(addButton, &QPushButton::clicked, this, &MainWindow::addCard);
    connect(closeButton, &QPushButton::clicked, this, &MainWindow::close);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(addButton);
    buttonRow->addStretch();
    buttonRow->addWidget(openButton);
    buttonRow->addStretch();
    buttonRow->addWidget(closeButton);
    auto *layout = new QVBoxLayout;
    layout->setMenuBar(menuBar);
    layout->addWidget(findBar);
    layout->addWidget(cardView);
    layout->addLayout(buttonRow);
    setLayout(layout);
}

void MainWindow::resizeEvent(QResizeEvent *)
{
    fitColumns();
}

void MainWindow::fitColumns()
{
    TableSupport::setColumnWidths(cardView, {2, 1, 3}, TableSupport::widthBesideRowHeader(cardView) / 3 - 15);
}

bool MainWindow::savePendingEdits()
{
    if (cardForm && cardForm->isVisible() && !cardForm->writePending())
        return false;
    return TableSupport::writePending(cardModel, cardView, this);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!savePendingEdits()) {
        const QMessageBox::StandardButton answer =
            PlainText::tell(this, QMessageBox::Question, tr("Close Nimbrel"),
                            tr("Your changes could not be saved. Close anyway and lose them?"),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

// Escape ends a find first; otherwise it leaves the window as a close does,
// saving first.
void MainWindow::reject()
{
    if (findBar->isVisible())
        closeFind();
    else
        close();
}

int MainWindow::getMaxId(const QString &table)
{
    return TableIds::maxId(table);
}

void MainWindow::editCategory()
{
    CategoryForm form(this, this);
    if (form.readError().isValid()) {
        TableSupport::reportReadError(this, form.readError());
        return;
    }
    form.exec();
}

void MainWindow::setPassword()
{
    SetPw dialog(this, false);
    dialog.exec();
}

void MainWindow::showEncryption()
{
    // An encrypted store stays encrypted; its password changes in "Set Password".
    const bool encrypted = StoreEncryption::isEncrypted();
    encryptAction->setChecked(encrypted);
    encryptAction->setEnabled(!encrypted);
}

void MainWindow::encryptStore()
{
    showEncryption();
    if (!encryptAction->isEnabled() || !savePendingEdits())
        return;
    // The card editor shows texts read before; it reads them again when opened.
    if (cardForm)
        cardForm->hide();
    EncryptStore dialog(this);
    const bool encrypted = dialog.exec() == QDialog::Accepted;
    showEncryption();
    if (!encrypted)
        return;
    clearCategoryActions();
    loadCategoryActions();
    if (!dialog.compacted())
        PlainText::tell(this, QMessageBox::Warning, tr("Encrypt the Store"),
                        tr("The store is encrypted, but its file could not be rewritten: parts of it that are no "
                           "longer used may still hold the old texts until the store is next changed."));
}

void MainWindow::aboutDialog()
{
    About dialog(this);
    dialog.exec();
}
