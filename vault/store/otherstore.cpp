#include "store/otherstore.h"

#include "store/cardstore.h"
#include "store/datakey.h"
#include "store/keyenvelope.h"

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <climits>

namespace {

const QString connectionName = QStringLiteral("importdb");
const QStringList storeTables = {QStringLiteral("category"), QStringLiteral("card"), QStringLiteral("content"),
                                 QStringLiteral("cardtype"), QStringLiteral("option")};
// SQLite's code for a file that is no database.
constexpr int sqliteNotADatabase = 26;

QSqlDatabase database()
{
    return QSqlDatabase::database(connectionName, false);
}

qint64 upperBound(int shift)
{
    return qint64(INT_MAX) - shift;
}

std::optional<bool> hasRow(const QString &statement, const QList<qint64> &values)
{
    QSqlQuery query(database());
    query.prepare(statement + QLatin1String(" limit 1"));
    for (qint64 value : values)
        query.addBindValue(value);
    if (!query.exec())
        return std::nullopt;
    return query.next();
}

} // namespace

bool OtherStore::open(const QString &fileName, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    registered = true;
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs()));
    db.setDatabaseName(fileName);
    if (db.open())
        return true;
    if (error)
        *error = db.lastError().text();
    return false;
}

OtherStore::~OtherStore()
{
    if (!registered)
        return;
    database().close();
    QSqlDatabase::removeDatabase(connectionName);
}

OtherStore::Kind OtherStore::check(QString *detail) const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("select type, name from sqlite_master"))) {
        *detail = query.lastError().text();
        if (isLockError(query.lastError()))
            return Kind::Locked;
        // Random bytes are no database at all; other failures are damage.
        return query.lastError().nativeErrorCode().toInt() == sqliteNotADatabase ? Kind::NoStore : Kind::Damaged;
    }
    QSet<QString> tables;
    bool plain = true;
    while (query.next()) {
        const QString type = query.value(0).toString();
        const QString name = query.value(1).toString();
        if (type == QLatin1String("table"))
            tables.insert(name);
        else if (type == QLatin1String("trigger") || storeTables.contains(name))
            plain = false;
    }
    if (!plain)
        return Kind::NotPlain;
    for (const QString &table : storeTables) {
        if (!tables.contains(table))
            return Kind::NoStore;
    }
    if (!query.exec(QStringLiteral("PRAGMA quick_check(5)"))) {
        *detail = query.lastError().text();
        return isLockError(query.lastError()) ? Kind::Locked : Kind::Damaged;
    }
    QStringList problems;
    while (query.next())
        problems.append(query.value(0).toString());
    if (problems != QStringList {QStringLiteral("ok")}) {
        *detail = problems.join(QLatin1Char('\n'));
        return Kind::Damaged;
    }
    for (const char *statement :
         {"select id, name from category where 0", "select id, type, name, categoryid from card where 0",
          "select id, title, value, cardid from content where 0"}) {
        if (!query.exec(QLatin1String(statement))) {
            *detail = query.lastError().text();
            return Kind::NoStore;
        }
    }
    return Kind::Store;
}

std::optional<bool> OtherStore::idsFit(int categoryShift, int cardShift, int contentShift) const
{
    const std::optional<bool> badRow[] = {
        hasRow(QStringLiteral("select 1 from category where typeof(id) <> 'integer' or id < 1 or id > ?"),
               {upperBound(categoryShift)}),
        hasRow(QStringLiteral("select 1 from card where typeof(id) <> 'integer' or id < 1 or id > ? "
                              "or typeof(categoryid) <> 'integer' or categoryid < ? or categoryid > ?"),
               {upperBound(cardShift), qint64(INT_MIN), upperBound(categoryShift)}),
        hasRow(QStringLiteral("select 1 from content where typeof(id) <> 'integer' or id < 1 or id > ? "
                              "or typeof(cardid) <> 'integer' or cardid < ? or cardid > ?"),
               {upperBound(contentShift), qint64(INT_MIN), upperBound(cardShift)}),
    };
    bool fit = true;
    for (const std::optional<bool> &found : badRow) {
        if (!found)
            return std::nullopt;
        fit = fit && !*found;
    }
    return fit;
}

QString OtherStore::password() const
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("select password from option")) && query.next())
        return query.value(0).toString();
    return QString();
}

OtherStore::Password OtherStore::checkPassword(const QString &expected, const QString &typed, DataKey *key)
{
    if (!KeyEnvelope::isEnvelope(expected))
        return typed == expected ? Password::Accepted : Password::Refused;
    bool damaged = false;
    *key = KeyEnvelope::unwrap(expected, typed, &damaged);
    if (damaged)
        return Password::KeyDamaged;
    return key->isEmpty() ? Password::Refused : Password::Accepted;
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
