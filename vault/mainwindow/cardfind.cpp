// Finding cards: the find bar narrows the card table to the cards that hold a text.
#include "mainwindow/mainwindow.h"

#include "mainwindow/findbar.h"
#include "widgets/qmenuex.h"
#include "widgets/tablesupport.h"
#include "store/cardfilter.h"
#include "store/cardsearch.h"
#include "store/storetablemodel.h"

#include <QTableView>

void MainWindow::createFind()
{
    QAction *findAction = TableSupport::makeAction(this, tr("&Find..."), tr("find cards by name or content"),
                                                   QStringLiteral(":/menuicon/find.png"), tr("ctrl+F"));
    connect(findAction, &QAction::triggered, this, &MainWindow::openFind);
    cardMenu->addAction(findAction);

    findBar = new FindBar(this);
    connect(findBar, &FindBar::findRequested, this, &MainWindow::findCards);
    connect(findBar, &FindBar::closeRequested, this, &MainWindow::closeFind);
    connect(findBar, &FindBar::firstMatchRequested, this, &MainWindow::showFirstMatch);
    connect(findBar, &FindBar::allCategoriesRequested, this, &MainWindow::searchAllCategories);
    // Adding, deleting and importing read the table again, under the find.
    connect(cardModel, &QAbstractItemModel::modelReset, this, &MainWindow::showFindCount);
    connect(cardModel, &QAbstractItemModel::rowsInserted, this, &MainWindow::showFindCount);
    connect(cardModel, &QAbstractItemModel::rowsRemoved, this, &MainWindow::showFindCount);
}

void MainWindow::openFind()
{
    findBar->open();
    // The texts are read while the user starts typing, not after the pause.
    CardSearch::prepare();
}

void MainWindow::findCards(const QString &text)
{
    // A search reads the table again, which would drop what is pending.
    if (savePendingEdits())
        cardFilter->find(text);
}

void MainWindow::showFindCount()
{
    findBar->showCount(cardFilter->text().isEmpty() ? -1 : cardModel->rowCount(), shownCategoryName());
}

// As choosing "&All" does: the menu shows the filter in force.
void MainWindow::searchAllCategories()
{
    allAction->trigger();
}

void MainWindow::closeFind()
{
    if (!savePendingEdits())
        return;
    leaveFind();
    if (cardView->currentIndex().isValid())
        cardView->setFocus(Qt::OtherFocusReason);
}

void MainWindow::leaveFind()
{
    findBar->clearAndHide();
    if (!cardFilter->text().isEmpty())
        cardFilter->find(QString());
}

void MainWindow::showFirstMatch()
{
    if (cardFilter->text().isEmpty() || cardModel->rowCount() == 0)
        return;
    cardView->setCurrentIndex(cardModel->index(0, 2));
    cardView->setFocus(Qt::OtherFocusReason);
}
