#ifndef STORETABLEMODEL_H
#define STORETABLEMODEL_H

#include <QSqlError>
#include <QSqlRecord>
#include <QSqlRelationalTableModel>

#include <optional>

// One table of the store (category, card or content) behind a view. Every
// table the program edits goes through this model, which keeps the rules
// they all follow:
// - it reads only when the store answers: a read that another program's lock
//   would fail leaves the rows shown, marks the model stale and fails, where
//   a plain select would drop the rows and the columns (after which every
//   write fails with "No Fields to update");
// - while the vault is locked it neither reads nor writes: an encrypted
//   store's texts cannot be opened or sealed without the key;
// - after every read it holds all rows, so counting, appending after the last
//   row and Ctrl+End see them all, and no unfinished read keeps other
//   programs from writing;
// - rows are in ascending id order, and a new row gets the table's largest id
//   plus one, read inside the write that stores it: a failed read refuses the
//   write instead of guessing an id;
// - every pending row is written in one transaction: all or nothing. On
//   failure nothing is written and the edits stay pending.
// The columns are learnt at the first read the store answers, so a model made
// while another program holds the store waits for it once, at that read.
//
// Values pass between the views and the store through data() and setData()
// as for any QSqlTableModel, and reach the store through insertRowIntoTable()
// and updateRowInTable() below: the one place where a value is turned into
// what is stored. In an encrypted store the texts the user types are sealed
// there, and opened in data() and record() on their way out.
class StoreTableModel : public QSqlRelationalTableModel
{
    Q_OBJECT

public:
    StoreTableModel(const QString &table, QObject *parent);

    // The header text of a column, shown once the columns are known.
    void setColumnTitle(int column, const QString &title);

    // Reads the rows again; with a filter, reads the rows it lets through
    // (a filter that cannot be read yet waits for the next read). False when
    // the store did not answer: the rows shown stay, the model is stale, and
    // lastError() tells why.
    bool read();
    bool read(const QString &filter);

    // True when the last read failed: the rows shown may no longer be stored.
    bool isStale() const { return stale; }

    // Writes every pending row (inserted, changed, removed) in one
    // transaction, waiting once for a store that another program holds, and
    // reads the rows again. On failure nothing is written, every edit stays
    // pending and lastError() tells why. It hides QSqlTableModel::submitAll,
    // which writes row by row.
    bool submitAll();

    // Gives a record that is about to be inserted the id this model chose for
    // it (the id slot connected to beforeInsert calls it).
    void assignNextId(QSqlRecord &record) const;

    // Sets a field of a new row's record so that its INSERT writes it: a
    // field set on a record is left out unless it is marked generated.
    static void setField(QSqlRecord &record, const QString &name, const QVariant &value);

    // The texts as the user typed them, never as the store keeps them.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // A cell given the text it shows is left as it is stored.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // The row with its texts opened; it hides QSqlTableModel::record(int),
    // whose texts are the stored ones. Field by field as the base's: the
    // changed fields of a pending row are the generated ones.
    QSqlRecord record(int row) const;
    QSqlRecord record() const { return QSqlRelationalTableModel::record(); }

public slots:
    // A select through the model's rules: as read().
    bool select() override;
    // Row-change and field-change strategies write through submitAll() too.
    bool submit() override;

public:
    void setFilter(const QString &filter) override;

protected:
    bool insertRowIntoTable(const QSqlRecord &values) override;
    bool updateRowInTable(int row, const QSqlRecord &values) override;
    bool deleteRowFromTable(int row) override;

private:
    enum class Pass { Writing, Marking };

    bool learnTable();
    bool writePendingRows();
    bool exec(const QString &statement);
    void fail(const QSqlError &error);
    // While the vault is locked: fails (the store is not touched) and says so.
    bool refusedWhileLocked();
    void fetchAllRows();
    // The record with its generated texts sealed for the store.
    QSqlRecord sealed(const QSqlRecord &values) const;

    const QString table;
    QList<QPair<int, QString>> columnTitles;
    // A filter waiting for a read the store answers.
    std::optional<QString> wantedFilter;
    bool stale = false;
    // Inside select(): the base's setFilter reads by itself.
    bool reading = false;
    // While the rows are written, the statements run; once they are stored,
    // the base's submitAll runs again only to mark its rows as written.
    Pass pass = Pass::Writing;
    // The id of the row being inserted; the next row's once it is stored.
    int nextId = 0;
};

#endif
