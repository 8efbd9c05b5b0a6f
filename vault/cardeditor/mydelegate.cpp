#include "cardeditor/mydelegate.h"

#include "store/cardtable.h"
#include "store/cardtypes.h"
#include "store/categorytable.h"
#include "store/storetablemodel.h"

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QSqlRecord>
#include <QSqlRelationalTableModel>

namespace {

constexpr int iconSize = 32;

QHash<int, QString> byId(const QList<NamedRow> &rows)
{
    QHash<int, QString> names;
    for (const NamedRow &row : rows)
        names.insert(row.id, row.name);
    return names;
}

int cellId(const QModelIndex &index)
{
    return index.data(Qt::EditRole).toInt();
}

} // namespace

myDelegate::myDelegate(QObject *parent)
    : QItemDelegate(parent)
{
    for (int type = 1; type <= CardTypes::count; ++type)
        typeIcons.append(QImage(iconPath(type)));
    loadNames();
}

void myDelegate::loadNames()
{
    QList<NamedRow> rows;
    if (CardTable::types(&rows))
        typeNames = byId(rows);
    if (CategoryTable::all(&rows))
        categoryNames = byId(rows);
}

void myDelegate::setCategoryName(int id, const QString &name)
{
    categoryNames.insert(id, name);
}

void myDelegate::removeCategoryName(int id)
{
    categoryNames.remove(id);
}

QString myDelegate::shownName(const QModelIndex &index) const
{
    const QHash<int, QString> &names = index.column() == typeColumn ? typeNames : categoryNames;
    return names.value(cellId(index));
}

QString myDelegate::iconPath(int type) const
{
    return CardTypes::iconPath(type);
}

bool myDelegate::isNamedColumn(const QModelIndex &index)
{
    return index.column() == typeColumn || index.column() == categoryColumn;
}

bool myDelegate::handlesEditing(const QWidget *editor, const QAbstractItemModel *model, const QModelIndex &index)
{
    return isNamedColumn(index) && qobject_cast<const QSqlRelationalTableModel *>(model)
        && qobject_cast<const QComboBox *>(editor);
}

void myDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!isNamedColumn(index)) {
        QItemDelegate::paint(painter, option, index);
        return;
    }
    const int id = cellId(index);
    const QString name = shownName(index);
    const QStyleOptionViewItem opt = setOptions(index, option);
    QRect textRect = opt.rect;
    if (index.column() == typeColumn) {
        // Names stay in line whether or not an icon stands before them.
        const QImage image = typeIcons.value(id - 1);
        if (!image.isNull())
            painter->drawImage(QPoint(opt.rect.left(), opt.rect.top() + (opt.rect.height() - image.height()) / 2),
                               image);
        textRect.setLeft(opt.rect.left() + (image.isNull() ? iconSize : image.width()));
    }
    drawDisplay(painter, opt, textRect, name);
    drawFocus(painter, opt, opt.rect);
}

QWidget *myDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!isNamedColumn(index))
        return QItemDelegate::createEditor(parent, option, index);
    auto *combo = new QComboBox(parent);
    if (index.column() == categoryColumn) {
        // When the store does not answer, the list is empty and the cell keeps its category.
        auto *categories = new StoreTableModel(QStringLiteral("category"), combo);
        categories->read();
        combo->setModel(categories);
        combo->setModelColumn(1);
    } else {
        combo->setIconSize(QSize(iconSize, iconSize));
        // When the store does not answer, the list is empty and the cell keeps its type.
        QList<NamedRow> types;
        CardTable::types(&types);
        for (const NamedRow &type : std::as_const(types))
            combo->addItem(QIcon(iconPath(type.id)), type.name, type.id);
    }
    combo->installEventFilter(const_cast<myDelegate *>(this));
    return combo;
}

QVariant myDelegate::entryId(const QComboBox *combo, int entry)
{
    if (entry < 0)
        return QVariant();
    if (auto *categories = qobject_cast<const QSqlTableModel *>(combo->model()))
        return categories->record(entry).value(0);
    return combo->itemData(entry);
}

void myDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (!handlesEditing(editor, index.model(), index)) {
        QItemDelegate::setEditorData(editor, index);
        return;
    }
    auto *combo = static_cast<QComboBox *>(editor);
    const int id = cellId(index);
    int found = -1;
    for (int entry = 0; entry < combo->count() && found < 0; ++entry) {
        const QVariant entryValue = entryId(combo, entry);
        if (entryValue.isValid() && entryValue.toInt() == id)
            found = entry;
    }
    combo->setCurrentIndex(found);
}

void myDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    if (!handlesEditing(editor, model, index)) {
        QItemDelegate::setModelData(editor, model, index);
        return;
    }
    // Nothing chosen (an empty list, or an id that names nothing): the cell keeps its value.
    auto *combo = static_cast<QComboBox *>(editor);
    const QVariant chosen = entryId(combo, combo->currentIndex());
    if (!chosen.isValid() || chosen.toInt() == cellId(index))
        return;
    model->setData(index, chosen.toInt(), Qt::EditRole);
}
