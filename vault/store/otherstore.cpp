#include "store/otherstore.h"

#include "store/cardstore.h"
#include "store/datakey.h"
#include "store/keyenvelope.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <climits>

namespace {

const QString connectionName = QStringLiteral("importdb");

QSqlDatabase database()
{
    return QSqlDatabase::database(connectionName, false);
}

qint64 upperBound(int shift)
{
    return qint64(INT_MAX) - shift;
}

bool hasRow(const QString &statement, const QList<qint64> &values)
{
    QSqlQuery query(database());
    query.prepare(statement + QLatin1String(" limit 1"));
    for (qint64 value : values)
        query.addBindValue(value);
    // A query that fails counts as a row: nothing is imported then.
    return !query.exec() || query.next();
}

} // namespace

OtherStore::OtherStore(const QString &fileName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs()));
    db.setDatabaseName(fileName);
    opened = db.open();
    if (!opened)
        openError = db.lastError().text();
}

OtherStore::~OtherStore()
{
    database().close();
    QSqlDatabase::removeDatabase(connectionName);
}

bool OtherStore::holdsStore(QString *lockError) const
{
    QSqlQuery query(database());
    for (const char *statement :
         {"select id, name from category where 0", "select id, type, name, categoryid from card where 0",
          "select id, title, value, cardid from content where 0"}) {
        if (!query.exec(QLatin1String(statement))) {
            if (isLockError(query.lastError()))
                *lockError = query.lastError().text();
            return false;
        }
    }
    return true;
}

bool OtherStore::idsFit(int categoryShift, int cardShift, int contentShift) const
{
    return !hasRow(QStringLiteral("select 1 from category where typeof(id) <> 'integer' or id < 1 or id > ?"),
                   {upperBound(categoryShift)})
        && !hasRow(QStringLiteral("select 1 from card where typeof(id) <> 'integer' or id < 1 or id > ? "
                                  "or typeof(categoryid) <> 'integer' or categoryid < ? or categoryid > ?"),
                   {upperBound(cardShift), qint64(INT_MIN), upperBound(categoryShift)})
        && !hasRow(QStringLiteral("select 1 from content where typeof(id) <> 'integer' or id < 1 or id > ? "
                                  "or typeof(cardid) <> 'integer' or cardid < ? or cardid > ?"),
                   {upperBound(contentShift), qint64(INT_MIN), upperBound(cardShift)});
}

QString OtherStore::password() const
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("select password from option")) && query.next())
        return query.value(0).toString();
    return QString();
}

bool OtherStore::acceptsPassword(const QString &typed, DataKey *key, bool *damaged) const
{
    *damaged = false;
    const QString expected = password();
    if (!KeyEnvelope::isEnvelope(expected))
        return typed == expected;
    *key = KeyEnvelope::unwrap(expected, typed, damaged);
    return !key->isEmpty();
}

int OtherStore::rowTotal() const
{
    int total = 0;
    QSqlQuery query(database());
    for (const char *statement :
         {"select count(*) from category", "select count(*) from card", "select count(*) from content"}) {
        if (query.exec(QLatin1String(statement)) && query.next())
            total += query.value(0).toInt();
    }
    return total;
}
