#ifndef MYDELEGATE_H
#define MYDELEGATE_H

#include <QHash>
#include <QImage>
#include <QItemDelegate>

class QComboBox;

// Shows and edits the card table's type and category columns by name: the
// type as its icon and name, the category as its name, both chosen from a
// combo box whose entries carry their ids. The names are drawn from what it
// read at its start and was told since: painting never waits on the store.
class myDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit myDelegate(QObject *parent = nullptr);

    // Reads the type and category names again; when the store cannot be
    // read, the names known so far stay.
    void loadNames();
    void setCategoryName(int id, const QString &name);
    void removeCategoryName(int id);

    // The name shown in a type or category cell; empty when the id names none.
    QString shownName(const QModelIndex &index) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // ":/cardicon/<name>.png" for a card type id from 1 to 18, empty otherwise.
    QString iconPath(int type) const;

    static constexpr int typeColumn = 1;
    static constexpr int categoryColumn = 3;

private:
    static bool isNamedColumn(const QModelIndex &index);
    static bool handlesEditing(const QWidget *editor, const QAbstractItemModel *model, const QModelIndex &index);
    static QVariant entryId(const QComboBox *combo, int entry);

    QHash<int, QString> typeNames;
    QHash<int, QString> categoryNames;
    QList<QImage> typeIcons;
};

#endif
