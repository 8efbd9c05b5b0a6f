#include "store/storeimport.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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

// Runs one slice's INSERT ... SELECT, whose last two values are the id
// after which it starts and the number of rows. The ids copied, shifted by
// the first of `shifts`, are the largest of `table` then.
int copySlice(const QString &statement, const QString &table, const QList<int> &shifts, qint64 &afterId,
              QString *error)
{
    QSqlQuery query;
    query.prepare(statement);
    for (int shift : shifts)
        query.addBindValue(shift);
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
        afterId = query.value(0).toLongLong() - shifts.first();
    }
    return rows;
}

} // namespace

StoreImport::StoreImport(const QString &fileName)
{
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
    return copySlice(QStringLiteral("insert into category select id + ?, name from importdb.category "
                                    "where id > ? order by id limit ?"),
                     QStringLiteral("category"), {categoryShift}, afterId, error);
}

int StoreImport::copyCards(int cardShift, int categoryShift, qint64 &afterId, QString *error)
{
    return copySlice(QStringLiteral("insert into card select id + ?, type, name, "
                                    "categoryid + case when categoryid > 0 then ? else 0 end from importdb.card "
                                    "where id > ? order by id limit ?"),
                     QStringLiteral("card"), {cardShift, categoryShift}, afterId, error);
}

int StoreImport::copyLines(int contentShift, int cardShift, qint64 &afterId, QString *error)
{
    return copySlice(QStringLiteral("insert into content select id + ?, title, value, "
                                    "cardid + case when cardid > 0 then ? else 0 end from importdb.content "
                                    "where id > ? order by id limit ?"),
                     QStringLiteral("content"), {contentShift, cardShift}, afterId, error);
}

bool StoreImport::copyAll(const QList<Slice> &tables, const std::function<void(int)> &progress, QString *error)
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
    if (ok && store.commit())
        return true;
    if (ok)
        *error = store.lastError().text();
    store.rollback();
    return false;
}
