#include "teststore.h"

#include "store/cardstore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

TestStore::TestStore(const QString &sql)
{
    QString error;
    if (!openStore(tempDir.path(), &error))
        qFatal("cannot open a test store in %s", qPrintable(tempDir.path()));
    createTables();
    exec(sql);
    // A locked store gives up after a fraction of a second, not five.
    QSqlDatabase db = QSqlDatabase::database();
    db.close();
    db.setConnectOptions(db.connectOptions() + QStringLiteral(";QSQLITE_BUSY_TIMEOUT=200"));
    db.open();
}

TestStore::~TestStore()
{
    closeStore();
}

QString TestStore::filePath() const
{
    return tempDir.filePath(QStringLiteral("nimbrel.dat"));
}

void TestStore::exec(const QString &sql) const
{
    // Splits at the semicolons outside quotes.
    QString statement;
    bool quoted = false;
    for (const QChar c : sql + QLatin1Char(';')) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (c != QLatin1Char(';') || quoted) {
            statement += c;
            continue;
        }
        QSqlQuery query;
        if (!statement.trimmed().isEmpty() && !query.exec(statement))
            qFatal("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
        statement.clear();
    }
}

QVariant TestStore::value(const QString &statement) const
{
    QSqlQuery query;
    if (!query.exec(statement) || !query.next())
        return QVariant();
    return query.value(0);
}

int TestStore::count(const QString &table) const
{
    return value(QStringLiteral("select count(*) from ") + table).toInt();
}

void TestStore::makeReadOnly() const
{
    exec(QStringLiteral("PRAGMA query_only = ON"));
}

TestStore::Lock::Lock(const TestStore &store)
    : connection(QStringLiteral("lock"))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(store.filePath());
    QSqlQuery begin(db);
    if (!db.open() || !begin.exec(QStringLiteral("BEGIN EXCLUSIVE")))
        qFatal("cannot lock the test store: %s", qPrintable(begin.lastError().text()));
}

TestStore::Lock::~Lock()
{
    release();
}

void TestStore::Lock::release()
{
    if (connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    connection.clear();
}
