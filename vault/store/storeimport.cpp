#include "store/storeimport.h"

#include "store/cardtextindex.h"
#include "store/datakey.h"
#include "store/sealedtext.h"
#include "store/storekey.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <climits>
#include <optional>

namespace {

// The key of the attached store's texts, while it is attached.
DataKey &attachedKey()
{
    static DataKey key;
    return key;
}

// Whether each text must be opened and sealed again on its way.
bool recoding()
{
    return !(attachedKey() == StoreKey::current());
}

// The text of an attached store's column in this store's form; empty when
// it is sealed and does not open.
std::optional<QVariant> recoded(const QString &table, const QString &column, const QVariant &stored)
{
    QVariant text = stored;
    if (SealedText::isSealed(stored.toString())) {
        const std::optional<QString> opened =
            SealedText::open(attachedKey(), stored.toString(), SealedText::columnData(table, column));
        // A plain store's text that merely looks sealed is its own text.
        if (!opened && !attachedKey().isEmpty())
            return std::nullopt;
        if (opened)
            text = *opened;
    }
    return StoreKey::sealValue(table, column, text);
}

// A URI keeps the attached file read-only; "?", "#" and "%" in the path
// would otherwise end or escape it.
QString readOnlyUri(const QString &fileName)
{
    QString path = QFileInfo(fileName).absoluteFilePath();
    path.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('?'), QLatin1String("%3f"))
        .replace(QLatin1Char('#'), QLatin1String("%23"));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return QLatin1String("file://") + path + QLatin1String("?mode=ro");
}

// The id of a copied row, shifted. Anything but a whole number from 1 up to
// what still fits beside the shift becomes a text that the INTEGER PRIMARY
// KEY refuses, so that nothing of the import stays.
const char *const shiftedId = "case when typeof(id) = 'integer' and id between 1 and ? then id + ? else 'no id' end";

// A reference, shifted as the row it names is; 0 or less names no row and
// stays. Anything but a whole number that fits becomes NULL, which the
// column's NOT NULL refuses.
QString shiftedReference(const char *column)
{
    return QStringLiteral("case when typeof(%1) = 'integer' and %1 between %2 and ? "
                          "then %1 + case when %1 > 0 then ? else 0 end end")
        .arg(QLatin1String(column))
        .arg(INT_MIN);
}

// The values that go with shiftedId or shiftedReference.
QList<qint64> shiftValues(int shift)
{
    return {qint64(INT_MAX) - shift, shift};
}

// Copies the rows of `table` after `afterId`, at most a slice, selecting
// `columns` with `values` bound in order. The ids copied, shifted by
// `idShift`, are then the largest of the table.
int copySlice(const QString &table, const QString &columns, const QList<qint64> &values, int idShift, qint64 &afterId,
              QString *error)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("insert into %1 select %2 from importdb.%1 where id > ? order by id limit ?")
                      .arg(table, columns));
    for (qint64 value : values)
        query.addBindValue(value);
    query.addBindValue(afterId);
    query.addBindValue(StoreImport::sliceRows);
    if (!query.exec()) {
        *error = query.lastError().text();
        return -1;
    }
    const int rows = query.numRowsAffected();
    if (rows > 0) {
        if (!query.exec(QStringLiteral("select max(id) from ") + table) || !query.next()) {
            *error = query.lastError().text();
            return -1;
        }
        afterId = query.value(0).toLongLong() - idShift;
    }
    return rows;
}

// The same, row by row, with each text in this store's form; `names` holds
// the column name of each selected column.
int recodeSlice(const QString &table, const QString &columns, const QStringList &names, const QList<qint64> &values,
                qint64 &afterId, QString *error)
{
    QSqlQuery read;
    read.setForwardOnly(true);
    read.prepare(QStringLiteral("select id, %1 from importdb.%2 where id > ? order by id limit ?").arg(columns, table));
    for (qint64 value : values)
        read.addBindValue(value);
    read.addBindValue(afterId);
    read.addBindValue(StoreImport::sliceRows);
    if (!read.exec()) {
        *error = read.lastError().text();
        return -1;
    }
    QSqlQuery write;
    QStringList marks;
    marks.fill(QStringLiteral("?"), names.size());
    write.prepare(QStringLiteral("insert into %1 values(%2)").arg(table, marks.join(QLatin1Char(','))));
    int rows = 0;
    while (read.next()) {
        for (int i = 0; i < names.size(); ++i) {
            const std::optional<QVariant> value = recoded(table, names.at(i), read.value(i + 1));
            if (!value) {
                *error = QCoreApplication::translate("StoreImport", "a text of its %1 table is damaged").arg(table);
                return -1;
            }
            write.addBindValue(*value);
        }
        if (!write.exec()) {
            *error = write.lastError().text();
            return -1;
        }
        afterId = read.value(0).toLongLong();
        ++rows;
    }
    return rows;
}

// Copies a slice either way.
int copyTableSlice(const QString &table, const QStringList &columns, const QStringList &names,
                   const QList<qint64> &values, int idShift, qint64 &afterId, QString *error)
{
    const QString selected = columns.join(QLatin1String(", "));
    return recoding() ? recodeSlice(table, selected, names, values, afterId, error)
                      : copySlice(table, selected, values, idShift, afterId, error);
}

} // namespace

StoreImport::StoreImport(const QString &fileName)
{
    // The copy is a bulk write: find reads the store afresh after it, and
    // following it row by row would only slow it down.
    CardTextIndex::instance().forget();
    QSqlQuery query;
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS importdb"));
    query.addBindValue(readOnlyUri(fileName));
    attached = query.exec();
    if (!attached)
        attachError = query.lastError().text();
}

StoreImport::~StoreImport()
{
    attachedKey() = DataKey();
    if (attached)
        QSqlQuery().exec(QStringLiteral("DETACH DATABASE importdb"));
}

void StoreImport::setTextKey(DataKey key)
{
    attachedKey() = std::move(key);
}

int StoreImport::copyCategories(int categoryShift, qint64 &afterId, QString *error)
{
    return copyTableSlice(QStringLiteral("category"), {QLatin1String(shiftedId), QStringLiteral("name")},
                          {QString(), QStringLiteral("name")}, shiftValues(categoryShift), categoryShift, afterId,
                          error);
}

int StoreImport::copyCards(int cardShift, int categoryShift, qint64 &afterId, QString *error)
{
    return copyTableSlice(
        QStringLiteral("card"),
        {QLatin1String(shiftedId), QStringLiteral("type"), QStringLiteral("name"), shiftedReference("categoryid")},
        {QString(), QString(), QStringLiteral("name"), QString()}, shiftValues(cardShift) + shiftValues(categoryShift),
        cardShift, afterId, error);
}

int StoreImport::copyLines(int contentShift, int cardShift, qint64 &afterId, QString *error)
{
    return copyTableSlice(
        QStringLiteral("content"),
        {QLatin1String(shiftedId), QStringLiteral("title"), QStringLiteral("value"), shiftedReference("cardid")},
        {QString(), QStringLiteral("title"), QStringLiteral("value"), QString()},
        shiftValues(contentShift) + shiftValues(cardShift), contentShift, afterId, error);
}

bool StoreImport::copyAll(const QList<Slice> &tables, int rowTotal, const std::function<void(int)> &progress,
                          QString *error)
{
    QSqlDatabase store = QSqlDatabase::database();
    if (!store.transaction()) {
        *error = store.lastError().text();
        return false;
    }
    int copied = 0;
    bool ok = true;
    for (const Slice &slice : tables) {
        // Imported ids are positive.
        qint64 afterId = 0;
        int rows = 0;
        while ((rows = slice(afterId, error)) > 0) {
            copied += rows;
            progress(copied);
        }
        if (rows < 0) {
            ok = false;
            break;
        }
    }
    // A row without an id is passed over by the slices.
    if (ok && copied != rowTotal) {
        *error =
            QCoreApplication::translate("StoreImport", "%1 of its %2 rows could be copied").arg(copied).arg(rowTotal);
        ok = false;
    }
    if (ok && store.commit())
        return true;
    if (ok)
        *error = store.lastError().text();
    store.rollback();
    return false;
}
