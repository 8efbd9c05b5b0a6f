#include "store/storeimport.h"

#include "store/cardtextindex.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <climits>

namespace {

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
    if (attached)
        QSqlQuery().exec(QStringLiteral("DETACH DATABASE importdb"));
}

int StoreImport::copyCategories(int categoryShift, qint64 &afterId, QString *error)
{
    return copySlice(QStringLiteral("category"), QLatin1String(shiftedId) + QLatin1String(", name"),
                     shiftValues(categoryShift), categoryShift, afterId, error);
}

int StoreImport::copyCards(int cardShift, int categoryShift, qint64 &afterId, QString *error)
{
    return copySlice(QStringLiteral("card"),
                     QLatin1String(shiftedId) + QLatin1String(", type, name, ") + shiftedReference("categoryid"),
                     shiftValues(cardShift) + shiftValues(categoryShift), cardShift, afterId, error);
}

int StoreImport::copyLines(int contentShift, int cardShift, qint64 &afterId, QString *error)
{
    return copySlice(QStringLiteral("content"),
                     QLatin1String(shiftedId) + QLatin1String(", title, value, ") + shiftedReference("cardid"),
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
