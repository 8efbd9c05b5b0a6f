#include "store/cardstore.h"

#include "store/cardtypes.h"
#include "store/privatefile.h"
#include "store/storekey.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace {

const char *const storeFileName = "nimbrel.dat";

struct Created
{
    const char *name;
    const char *statement;
};

// In creation order; the settings table before its seed row.
const Created tableStatements[] = {
    {"category", "CREATE TABLE category (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)"},
    {"card",
     "CREATE TABLE card (id INTEGER PRIMARY KEY, type INTEGER NOT NULL, name VARCHAR(40) NOT NULL, "
     "categoryid INTEGER NOT NULL, FOREIGN KEY (categoryid) REFERENCES category)"},
    {"content",
     "CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40) NOT NULL, value VARCHAR(100) NOT NULL, "
     "cardid INTEGER NOT NULL)"},
    {"cardtype", "create table cardtype(id int primary key, name varchar(40))"},
    {"option",
     "create table option(id int primary key,language varchar(40), lastlang varchar(40), category int, "
     "password varchar(40))"},
};
const char *const optionSeed = "insert into option values(1, 'none', 'none', -1, 'none')";
// Keeps opening one card fast however many lines the store holds.
const Created contentIndex = {"content_cardid", "CREATE INDEX content_cardid ON content(cardid)"};

// Long enough for a backup or sync tool to finish a write, short enough
// for a window that waits on it.
int busyTimeout = 1500;
// Another program's lock was met in this action: statements fail at once.
bool waitShortened = false;

void setConnectionWait(int ms)
{
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (db.isOpen())
        QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(ms));
}

// SQLite's codes for a file that another connection holds.
constexpr int sqliteBusy = 5;
constexpr int sqliteLocked = 6;

// The names of the tables and indexes, or nothing when the store cannot be read.
std::optional<QSet<QString>> schemaNames(QSqlQuery &query)
{
    if (!query.exec(QStringLiteral("select name from sqlite_master")))
        return std::nullopt;
    QSet<QString> names;
    while (query.next())
        names.insert(query.value(0).toString());
    return names;
}

// A statement that adds a missing part, with its bound values.
struct Write
{
    QString statement;
    QVariantList values;
};

// What the store lacks, found by reading alone; the reads hold no lock afterwards.
QList<Write> missingParts(QSqlQuery &query)
{
    QList<Write> writes;
    const std::optional<QSet<QString>> names = schemaNames(query);
    if (!names)
        return writes;
    for (const Created &table : tableStatements) {
        if (!names->contains(QLatin1String(table.name)))
            writes.append({QLatin1String(table.statement), {}});
    }
    QSet<int> types;
    if (names->contains(QStringLiteral("cardtype")) && query.exec(QStringLiteral("select id from cardtype"))) {
        while (query.next())
            types.insert(query.value(0).toInt());
    }
    for (int id = 1; id <= CardTypes::count; ++id) {
        if (!types.contains(id))
            writes.append({QStringLiteral("insert into cardtype values(?, ?)"), {id, CardTypes::translatedName(id)}});
    }
    const bool seeded = names->contains(QStringLiteral("option"))
        && query.exec(QStringLiteral("select 1 from option where id = 1")) && query.next();
    if (!seeded)
        writes.append({QLatin1String(optionSeed), {}});
    if (!names->contains(QLatin1String(contentIndex.name)))
        writes.append({QLatin1String(contentIndex.statement), {}});
    query.finish();
    return writes;
}

} // namespace

QString storeFilePathIn(const QString &storeDir)
{
    const QString dir = storeDir.isEmpty() ? QCoreApplication::applicationDirPath() : storeDir;
    return dir + QLatin1Char('/') + QLatin1String(storeFileName);
}

bool openStore(const QString &storeDir, QString *error, bool *inUse)
{
    const QString path = storeFilePathIn(storeDir);
    // A store made before files were kept private loses what others could read.
    PrivateFile::restrictToOwner(path);
    // A new store, and the journal SQLite makes beside it with its mode, are the user's alone.
    const PrivateFile::OwnerOnly ownerOnly;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    // URI names let the import attach another store read-only, whether or
    // not this SQLite was built to take them by default.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    bool ok = db.open();
    *error = db.lastError().text();
    if (inUse)
        *inUse = false;
    if (ok) {
        // SQLite opens any file lazily; only a read shows whether it is a database.
        QSqlQuery probe(db);
        ok = probe.exec(QStringLiteral("select count(*) from sqlite_master"));
        if (!ok) {
            *error = probe.lastError().text();
            if (inUse)
                *inUse = isLockError(probe.lastError());
        }
    }
    if (!ok) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    }
    return ok;
}

bool createTables()
{
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery query(db);
    const QList<Write> writes = missingParts(query);
    if (writes.isEmpty())
        return true;
    // Under another program's lock the first write waits once and fails; the rest is not tried.
    bool ok = db.transaction();
    for (const Write &write : writes) {
        if (!ok)
            break;
        query.prepare(write.statement);
        for (const QVariant &value : write.values)
            query.addBindValue(value);
        ok = query.exec();
    }
    query.finish();
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

bool updateCardTypeNames()
{
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery query(db);
    bool ok = db.transaction();
    query.prepare(QStringLiteral("update cardtype set name = ? where id = ?"));
    for (int i = 1; ok && i <= CardTypes::count; ++i) {
        query.addBindValue(CardTypes::translatedName(i));
        query.addBindValue(i);
        ok = query.exec();
    }
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

int busyTimeoutMs()
{
    return busyTimeout;
}

void setBusyTimeoutMs(int ms)
{
    busyTimeout = ms;
}

bool isLockError(const QSqlError &error)
{
    // Extended codes keep the primary one in their low byte.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == sqliteBusy || code == sqliteLocked;
}

QString storeInUseText()
{
    return QCoreApplication::translate(
        "CardStore", "The store is being used by another program. Nothing was lost: try again in a moment.");
}

void waitNoLongerThisAction(const QSqlError &error)
{
    if (waitShortened || !isLockError(error) || !QCoreApplication::instance())
        return;
    waitShortened = true;
    setConnectionWait(0);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        []() {
            waitShortened = false;
            setConnectionWait(busyTimeout);
        },
        Qt::QueuedConnection);
}

void setStoreReadOnly()
{
    QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("PRAGMA query_only = ON"));
}

bool isStoreReadOnly()
{
    QSqlQuery query(QSqlDatabase::database());
    return query.exec(QStringLiteral("PRAGMA query_only")) && query.next() && query.value(0).toBool();
}

QString storeFilePath()
{
    return QSqlDatabase::database().databaseName();
}

void closeStore()
{
    StoreKey::clear();
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}
