#include "store/storetablemodel.h"

#include "store/cardstore.h"
#include "store/storekey.h"

#include <QSqlQuery>
#include <QSqlRecord>

StoreTableModel::StoreTableModel(const QString &table, QObject *parent)
    : QSqlRelationalTableModel(parent, QSqlDatabase::database())
    , table(table)
{
    // Connected first, so that whoever follows a reset sees every row.
    connect(this, &QAbstractItemModel::modelReset, this, &StoreTableModel::fetchAllRows);
}

void StoreTableModel::setColumnTitle(int column, const QString &title)
{
    columnTitles.append({column, title});
    if (column < columnCount())
        setHeaderData(column, Qt::Horizontal, title);
}

bool StoreTableModel::read()
{
    return select();
}

bool StoreTableModel::read(const QString &filter)
{
    wantedFilter = filter;
    return select();
}

void StoreTableModel::setFilter(const QString &filter)
{
    // A model that has been read reads itself again as its filter changes.
    wantedFilter = filter;
    if (query().isActive())
        select();
}

bool StoreTableModel::select()
{
    if (reading)
        return QSqlRelationalTableModel::select();
    if (refusedWhileLocked())
        return false;
    QSqlDatabase db = database();
    // A read transaction holds the store from the check to the last row read,
    // so that nothing between them waits for another program again. Inside a
    // write's own transaction the check and the rows are the write's.
    const bool ownTransaction = db.transaction();
    QSqlQuery check(db);
    bool ok = check.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table));
    QSqlError failure = check.lastError();
    check.finish();
    if (ok) {
        ok = learnTable();
        failure = QSqlRelationalTableModel::lastError();
    }
    if (ok) {
        reading = true;
        const QString shown = wantedFilter.value_or(filter());
        if (shown != filter() && query().isActive()) {
            QSqlRelationalTableModel::setFilter(shown);
            ok = !QSqlRelationalTableModel::lastError().isValid();
        } else {
            QSqlRelationalTableModel::setFilter(shown);
            ok = QSqlRelationalTableModel::select();
        }
        reading = false;
        failure = QSqlRelationalTableModel::lastError();
    }
    if (ownTransaction && !db.commit())
        db.rollback();
    stale = !ok;
    if (!ok) {
        fail(failure);
        return false;
    }
    wantedFilter.reset();
    return true;
}

bool StoreTableModel::learnTable()
{
    if (!record().isEmpty())
        return true;
    // Setting the table clears the strategy's pending state and the filter;
    // nothing is pending before the columns are known.
    const EditStrategy strategy = editStrategy();
    QSqlRelationalTableModel::setTable(table);
    setEditStrategy(strategy);
    if (record().isEmpty())
        return false;
    setSort(0, Qt::AscendingOrder);
    for (const auto &[column, title] : std::as_const(columnTitles))
        setHeaderData(column, Qt::Horizontal, title);
    return true;
}

void StoreTableModel::fetchAllRows()
{
    while (canFetchMore())
        fetchMore();
}

bool StoreTableModel::submit()
{
    if (editStrategy() == OnManualSubmit)
        return true;
    return submitAll();
}

bool StoreTableModel::submitAll()
{
    if (!isDirty())
        return true;
    // Without the key a typed text would reach an encrypted store unsealed.
    if (refusedWhileLocked())
        return false;
    // One wait for another program's lock, at the start: once the write lock
    // is held, no statement of the write waits again until the commit.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (!writePendingRows() || !exec(QStringLiteral("COMMIT"))) {
        const QSqlError failure = QSqlRelationalTableModel::lastError();
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
        fail(failure);
        return false;
    }
    // Stored: the base's own pass marks the rows as written and reads them
    // again, through select() for a model written by hand and row by row
    // otherwise, as the views expect.
    pass = Pass::Marking;
    QSqlRelationalTableModel::submitAll();
    pass = Pass::Writing;
    return true;
}

// The rows in order, as the base writes them; it marks a row inserted with
// "*" and a row removed with "!" in the vertical header.
bool StoreTableModel::writePendingRows()
{
    QSqlQuery largest(database());
    if (!largest.exec(QStringLiteral("SELECT MAX(id) FROM %1").arg(table)) || !largest.next()) {
        fail(largest.lastError());
        return false;
    }
    nextId = largest.value(0).toInt() + 1;
    largest.finish();
    for (int row = 0; row < rowCount(); ++row) {
        const QString mark = headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
        bool changed = false;
        for (int column = 0; column < columnCount() && !changed; ++column)
            changed = isDirty(index(row, column));
        bool ok = true;
        if (mark == QLatin1String("*"))
            ok = insertRowIntoTable(record(row));
        else if (mark == QLatin1String("!"))
            ok = deleteRowFromTable(row);
        else if (changed)
            ok = updateRowInTable(row, record(row));
        if (!ok)
            return false;
    }
    return true;
}

bool StoreTableModel::insertRowIntoTable(const QSqlRecord &values)
{
    if (pass == Pass::Marking)
        return true;
    QSqlRecord stored = sealed(values);
    assignNextId(stored);
    if (!QSqlRelationalTableModel::insertRowIntoTable(stored))
        return false;
    ++nextId;
    return true;
}

bool StoreTableModel::updateRowInTable(int row, const QSqlRecord &values)
{
    return pass == Pass::Marking || QSqlRelationalTableModel::updateRowInTable(row, sealed(values));
}

bool StoreTableModel::deleteRowFromTable(int row)
{
    return pass == Pass::Marking || QSqlRelationalTableModel::deleteRowFromTable(row);
}

QVariant StoreTableModel::data(const QModelIndex &index, int role) const
{
    const QVariant value = QSqlRelationalTableModel::data(index, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return value;
    return StoreKey::openValue(table, QSqlRelationalTableModel::record().fieldName(index.column()), value);
}

bool StoreTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    // A cell editor closed unchanged hands back the text it showed. For a
    // sealed text that is not what is stored, and for one that does not open
    // it is the damage notice: written, it would replace the stored bytes.
    if (role == Qt::EditRole && index.isValid()) {
        const QVariant shown = data(index, role);
        if (value == shown && value.isNull() == shown.isNull())
            return true;
    }
    return QSqlRelationalTableModel::setData(index, value, role);
}

QSqlRecord StoreTableModel::record(int row) const
{
    QSqlRecord opened = QSqlRelationalTableModel::record(row);
    for (int i = 0; i < opened.count(); ++i)
        opened.setValue(i, StoreKey::openValue(table, opened.fieldName(i), opened.value(i)));
    return opened;
}

QSqlRecord StoreTableModel::sealed(const QSqlRecord &values) const
{
    QSqlRecord stored(values);
    for (int i = 0; i < stored.count(); ++i) {
        if (stored.isGenerated(i))
            stored.setValue(i, StoreKey::sealValue(table, stored.fieldName(i), stored.value(i)));
    }
    return stored;
}

void StoreTableModel::assignNextId(QSqlRecord &record) const
{
    setField(record, QStringLiteral("id"), nextId);
}

void StoreTableModel::setField(QSqlRecord &record, const QString &name, const QVariant &value)
{
    record.setValue(name, value);
    record.setGenerated(name, true);
}

bool StoreTableModel::exec(const QString &statement)
{
    QSqlQuery query(database());
    if (query.exec(statement))
        return true;
    fail(query.lastError());
    return false;
}

bool StoreTableModel::refusedWhileLocked()
{
    if (!StoreKey::isLocked())
        return false;
    // The rows shown stay as they are; the windows that show them are hidden.
    stale = true;
    fail(QSqlError(QString(), StoreKey::lockedText(), QSqlError::ConnectionError));
    return true;
}

void StoreTableModel::fail(const QSqlError &failure)
{
    setLastError(failure);
    waitNoLongerThisAction(failure);
}
