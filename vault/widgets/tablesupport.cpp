#include "widgets/tablesupport.h"

#include "store/cardstore.h"
#include "store/storetablemodel.h"
#include "plaintext.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlError>
#include <QTableView>

void TableSupport::setColumnWidths(QTableView *view, std::initializer_list<int> columns, int width)
{
    for (int column : columns)
        view->setColumnWidth(column, qMax(width, minimumColumnWidth));
}

int TableSupport::widthBesideRowHeader(const QTableView *view)
{
    const QHeaderView *rows = view->verticalHeader();
    return view->width() - (rows->isHidden() ? 0 : rows->sizeHint().width());
}

QModelIndex TableSupport::chosenCell(const QAbstractItemView *view)
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid() || !view->selectionModel() || !view->selectionModel()->isSelected(current))
        return QModelIndex();
    return current;
}

void TableSupport::commitOpenEditor(QAbstractItemView *view)
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return;
    // A closed editor stays known to the view until it is deleted; it is hidden.
    QWidget *editor = view->indexWidget(current);
    if (editor && !editor->isHidden()) {
        // commitData and closeEditor are the view's own (protected) slots.
        QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(view, "closeEditor", Q_ARG(QWidget *, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

bool TableSupport::writePending(StoreTableModel *model, QAbstractItemView *view, QWidget *parent)
{
    if (view)
        commitOpenEditor(view);
    if (model->submitAll())
        return true;
    reportWriteError(parent, model->lastError());
    return false;
}

QString TableSupport::inUseText()
{
    return tr("The store is being used by another program. Nothing was lost: try again in a moment.");
}

void TableSupport::reportWriteError(QWidget *parent, const QSqlError &error)
{
    report(parent, error, tr("Write Error"),
           tr("The changes could not be written to the store. They are kept; nothing has been lost yet."));
}

void TableSupport::reportReadError(QWidget *parent, const QSqlError &error)
{
    report(parent, error, tr("Read Error"),
           tr("The store could not be read. The table shows what was read before; try again in a moment."));
}

void TableSupport::report(QWidget *parent, const QSqlError &error, const QString &title, const QString &refused)
{
    waitNoLongerThisAction(error);
    const QString text = isLockError(error) ? inUseText() : refused;
    PlainText::tell(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::NoButton, error.text());
}

void TableSupport::editCell(QAbstractItemView *view, const QModelIndex &index)
{
    // The scroll range follows new rows only at the next layout; without it
    // the view would stop short of a row added at the end.
    view->doItemsLayout();
    view->setCurrentIndex(index);
    view->scrollTo(index);
    view->edit(index);
}

QAction *TableSupport::makeAction(QObject *parent, const QString &text, const QString &toolTip, const QString &icon,
                                  const QString &shortcut)
{
    auto *action = new QAction(text, parent);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    return action;
}

QPushButton *TableSupport::makeButton(QWidget *parent, const QString &text, const QString &toolTip, const QString &icon,
                                      const char *name)
{
    auto *button = new QPushButton(QIcon(icon), text, parent);
    button->setToolTip(toolTip);
    if (name)
        button->setObjectName(QLatin1String(name));
    return button;
}
