#include "teststore.h"

#include "store/cardstore.h"
#include "store/keyenvelope.h"
#include "store/storeencryption.h"
#include "store/storekey.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

TestStore::TestStore(const QString &sql)
{
    // A lock held elsewhere is met at once, not after the program's wait.
    setBusyTimeoutMs(50);
    // Argon2id at its smallest: a key in milliseconds, not most of a second.
    KeyEnvelope::setLimits(KeyEnvelope::smallestLimits());
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

void TestStore::damageTable(const QString &path, const QString &table)
{
    qint64 offset = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("damage"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("PRAGMA page_size")) || !query.next())
            qFatal("cannot read %s", qPrintable(path));
        const qint64 pageSize = query.value(0).toLongLong();
        query.prepare(QStringLiteral("select rootpage from sqlite_master where name = ?"));
        query.addBindValue(table);
        if (!query.exec() || !query.next())
            qFatal("no table %s in %s", qPrintable(table), qPrintable(path));
        offset = (query.value(0).toLongLong() - 1) * pageSize;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("damage"));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(offset) || file.write(QByteArray(16, '\xff')) != 16)
        qFatal("cannot damage %s", qPrintable(path));
}

void TestStore::encrypt(const QString &password)
{
    bool compacted = false;
    QString error;
    QVERIFY2(StoreEncryption::encrypt(
                 password, [](int, int) {}, &compacted, &error),
             qPrintable(error));
}

QStringList TestStore::opened(const QString &table, const QStringList &columns, QChar separator, const QString &where)
{
    QSqlQuery query(QStringLiteral("select %1 from %2 where %3 order by id").arg(columns.join(','), table, where));
    QStringList rows;
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < columns.size(); ++i)
            fields << StoreKey::open(table, columns.at(i), query.value(i));
        rows << fields.join(separator);
    }
    return rows;
}
