// The category filter: one checkable entry per category in "&Category".
#include "mainwindow/mainwindow.h"

#include "cardeditor/mydelegate.h"
#include "plaintext.h"
#include "widgets/qmenuex.h"
#include "widgets/tablesupport.h"
#include "store/cardsearch.h"
#include "store/categorytable.h"
#include "store/settingsrow.h"
#include "store/storetablemodel.h"

#include <QActionGroup>
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

bool MainWindow::applyCategoryFilter(int categoryId)
{
    QString filter;
    QString error;
    if (!CardSearch::filter(categoryId, findText, &filter, &error)) {
        TableSupport::reportReadError(this, error);
        return false;
    }
    // Set before the read, as the find's count, which follows the read, names it.
    const int previous = shownCategory;
    shownCategory = categoryId;
    if (cardModel->read(filter))
        return true;
    shownCategory = previous;
    TableSupport::reportReadError(this, cardModel->lastError());
    return false;
}

QString MainWindow::shownCategoryName() const
{
    if (shownCategory == SettingsRow::allCategories)
        return QString();
    for (QAction *entry : categoryGroup->actions()) {
        if (entry != allAction && entry->data().toInt() == shownCategory)
            return entry->text().replace(QLatin1String("&&"), QLatin1String("&"));
    }
    // Deleted while its cards are shown.
    return tr("the category shown");
}

void MainWindow::loadCategoryActions()
{
    const int chosen = SettingsRow::category().value_or(SettingsRow::allCategories);
    // A store that cannot be read shows no category entries; the filter read below tells the user.
    QList<NamedRow> categories;
    CategoryTable::all(&categories);
    for (const NamedRow &category : std::as_const(categories)) {
        QAction *entry = createCategoryEntry(category.id, category.name);
        if (category.id == chosen)
            entry->setChecked(true);
    }
    // The card table is read here, once, with the filter it shows.
    if (chosen == SettingsRow::allCategories)
        allAction->setChecked(true);
    applyCategoryFilter(chosen);
    shownEntry = categoryGroup->checkedAction();
}

void MainWindow::addCategoryAction(int id, const QString &name)
{
    createCategoryEntry(id, name);
    cardDelegate->setCategoryName(id, name);
}

void MainWindow::renameCategoryAction(int id, const QString &name)
{
    for (QAction *entry : categoryGroup->actions()) {
        if (entry != allAction && entry->data().toInt() == id) {
            entry->setText(menuText(name));
            entry->setToolTip(filterToolTip(name));
            break;
        }
    }
    cardDelegate->setCategoryName(id, name);
    cardView->viewport()->update();
}

void MainWindow::removeCategoryEntry(QAction *entry)
{
    if (entry == shownEntry)
        shownEntry = nullptr;
    // Leaves the group and the menu as it goes.
    delete entry;
}

void MainWindow::removeCategoryAction(int id)
{
    for (QAction *entry : categoryGroup->actions()) {
        if (entry != allAction && entry->data().toInt() == id) {
            removeCategoryEntry(entry);
            break;
        }
    }
    cardDelegate->removeCategoryName(id);
    cardView->viewport()->update();
}

void MainWindow::clearCategoryActions()
{
    for (QAction *entry : categoryGroup->actions()) {
        if (entry != allAction)
            removeCategoryEntry(entry);
    }
}

// The group has checked the chosen entry already; when the table keeps its
// filter, the check goes back to the entry of that filter.
void MainWindow::restoreShownEntry()
{
    if (shownEntry)
        shownEntry->setChecked(true);
    else if (QAction *checked = categoryGroup->checkedAction())
        checked->setChecked(false);
}

void MainWindow::openCategory()
{
    auto *entry = qobject_cast<QAction *>(sender());
    if (!entry)
        return;
    if (!savePendingEdits()) {
        restoreShownEntry();
        return;
    }
    const int id = entry->data().toInt();
    if (!applyCategoryFilter(id)) {
        restoreShownEntry();
        return;
    }
    shownEntry = entry;
    SettingsRow::setCategory(id);
}

void MainWindow::openAllCategory()
{
    if (!savePendingEdits() || !applyCategoryFilter(SettingsRow::allCategories)) {
        restoreShownEntry();
        return;
    }
    shownEntry = allAction;
    SettingsRow::setCategory(SettingsRow::allCategories);
}
