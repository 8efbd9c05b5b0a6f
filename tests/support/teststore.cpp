#include "teststore.h"

#include "store/cardstore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

TestStore::TestStore(const QString &sql)
{
    // A lock held elsewhere is met at once, not after the program's wait.
    setBusyTimeoutMs(50);
    QString error;
    if (!openStore(tempDir.path(), &error))
        qFatal("cannot open a test store in %s", qPrintable(tempDir.path()));
    createTables();
    exec(sql);
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

