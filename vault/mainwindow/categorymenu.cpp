// The category filter: one checkable entry per category in "&Category".
#include "mainwindow/mainwindow.h"

#include "cardeditor/mydelegate.h"
#include "mainwindow/findbar.h"
#include "plaintext.h"
#include "widgets/qmenuex.h"
#include "widgets/tablesupport.h"
#include "store/cardfilter.h"
#include "store/categorytable.h"
#include "store/settingsrow.h"
#include "store/storetablemodel.h"

#include <QActionGroup>
#include <QSqlError>
#include <QTableView>

namespace {

// A menu text takes "&" as a mnemonic mark; a name shows every "&" it holds.
QString menuText(const QString &name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString filterToolTip(const QString &name)
{
    return PlainText::toolTip(MainWindow::tr("display cards beong to %1 category").arg(name));
}

} // namespace

QAction *MainWindow::createCategoryEntry(int id, const QString &name)
{
    auto *entry = new QAction(menuText(name), this);
    entry->setToolTip(filterToolTip(name));
    entry->setCheckable(true);
    entry->setData(id);
    categoryGroup->addAction(entry);
    connect(entry, &QAction::triggered, this, &MainWindow::openCategory);
    categoryMenu->addAction(entry);
    return entry;
}

void MainWindow::readCards()
{
    QString filter;
    QString error;
    // The find's count follows a read the store answered.
    if (!cardFilter->modelFilter(&filter, &error))
        TableSupport::reportReadError(this, QSqlError(error));
    else if (!cardModel->read(filter))
        TableSupport::reportReadError(this, cardModel->lastError());
    else
        return;
    // The table keeps what it showed; how many of its cards match is not known.
    findBar->showCount(-1);
}

QAction *MainWindow::categoryEntry(int categoryId) const
{
    for (QAction *entry : categoryGroup->actions()) {
        if (entry != allAction && entry->data().toInt() == categoryId)
            return entry;
    }
    return nullptr;
}

void MainWindow::showCategoryCheck(int categoryId)
{
    QAction *shown = categoryId == SettingsRow::allCategories ? allAction : categoryEntry(categoryId);
    if (shown)
        shown->setChecked(true);
    else if (QAction *checked = categoryGroup->checkedAction())
        checked->setChecked(false);
}

QString MainWindow::shownCategoryName() const
{
    const int shown = cardFilter->category();
    if (shown == SettingsRow::allCategories)
        return QString();
    if (const QAction *entry = categoryEntry(shown))
        return entry->text().replace(QLatin1String("&&"), QLatin1String("&"));
    // Deleted while its cards are shown.
    return tr("the category shown");
}

void MainWindow::loadCategoryActions()
{
    // A store that cannot be read shows no category entries; the read of the table tells the user.
    QList<NamedRow> categories;
    CategoryTable::all(&categories);
    for (const NamedRow &category : std::as_const(categories))
        createCategoryEntry(category.id, category.name);
    // The card table is read here, once, with the stored filter; one that
    // cannot be read shows all cards, as at the first start.
    cardFilter->load();
}

void MainWindow::addCategoryAction(int id, const QString &name)
{
    createCategoryEntry(id, name);
    cardDelegate->setCategoryName(id, name);
}

void MainWindow::renameCategoryAction(int id, const QString &name)
{
    if (QAction *entry = categoryEntry(id)) {
        entry->setText(menuText(name));
        entry->setToolTip(filterToolTip(name));
    }
    cardDelegate->setCategoryName(id, name);
    cardView->viewport()->update();
}

void MainWindow::removeCategoryAction(int id)
{
    // Leaves the group and the menu as it goes.
    delete categoryEntry(id);
    cardDelegate->removeCategoryName(id);
    cardView->viewport()->update();
}

void MainWindow::clearCategoryActions()
{
    for (QAction *entry : categoryGroup->actions()) {
        if (entry != allAction)
            delete entry;
    }
}

void MainWindow::openCategory()
{
    if (auto *entry = qobject_cast<QAction *>(sender()))
        chooseCategory(entry->data().toInt());
}

void MainWindow::openAllCategory()
{
    chooseCategory(SettingsRow::allCategories);
}

void MainWindow::chooseCategory(int categoryId)
{
    // Reading the table again would drop what is pending. The group has
    // checked the chosen entry already; a refusal puts the check back.
    if (!savePendingEdits())
        return showCategoryCheck(cardFilter->category());
    QString error;
    QString detail;
    if (!cardFilter->choose(categoryId, &error, &detail))
        PlainText::tell(this, QMessageBox::Warning, tr("Category"),
                        tr("The choice could not be stored, so the table keeps the cards it shows. %1").arg(error),
                        QMessageBox::Ok, QMessageBox::NoButton, detail);
}
