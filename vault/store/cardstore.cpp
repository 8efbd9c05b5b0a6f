#include "store/cardstore.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char *const storeFileName = "nimbrel.dat";

const char *const tableStatements[] = {
    "CREATE TABLE category (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
    "CREATE TABLE card (id INTEGER PRIMARY KEY, type INTEGER NOT NULL, name VARCHAR(40) NOT NULL, "
    "categoryid INTEGER NOT NULL, FOREIGN KEY (categoryid) REFERENCES category)",
    "CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40) NOT NULL, value VARCHAR(100) NOT NULL, "
    "cardid INTEGER NOT NULL)",
    "create table cardtype(id int primary key, name varchar(40))",
};
const char *const optionStatement =
    "create table option(id int primary key,language varchar(40), lastlang varchar(40), category int, "
    "password varchar(40))";
const char *const optionSeed = "insert into option values(1, 'none', 'none', -1, 'none')";
// Keeps opening one card fast however many lines the store holds.
const char *const contentIndex = "CREATE INDEX IF NOT EXISTS content_cardid ON content(cardid)";

} // namespace

const QStringList &cardTypeSourceNames()
{
    static const QStringList names = {
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Address")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Bank Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Computer Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Contact")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Credit Card")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Database Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "eBank Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "eBay Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "eMail Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "General Purpose")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Master Card")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Mobile Phone")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Password")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Paypal Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Serial Number")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Taobao Account")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Visa Card")),
        QStringLiteral(QT_TRANSLATE_NOOP("QObject", "Website")),
    };
    return names;
}

QString translatedCardTypeName(int typeId)
{
    const QStringList &names = cardTypeSourceNames();
    if (typeId < 1 || typeId > names.size())
        return QString();
    return QCoreApplication::translate("QObject", names.at(typeId - 1).toUtf8().constData());
}

bool openStore(const QString &storeDir, QString *error)
{
    const QString dir = storeDir.isEmpty() ? QCoreApplication::applicationDirPath() : storeDir;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(dir + QLatin1Char('/') + QLatin1String(storeFileName));
    bool ok = db.open();
    *error = db.lastError().text();
    if (ok) {
        // SQLite opens any file lazily; only a read shows whether it is a database.
        QSqlQuery probe(db);
        ok = probe.exec(QStringLiteral("select count(*) from sqlite_master"));
        if (!ok)
            *error = probe.lastError().text();
    }
    if (!ok) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    }
    return ok;
}

void createTables()
{
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery query(db);
    db.transaction();
    for (const char *statement : tableStatements)
        query.exec(QLatin1String(statement));

    query.prepare(QStringLiteral("insert into cardtype values(?, ?)"));
    const QStringList &names = cardTypeSourceNames();
    for (int i = 0; i < names.size(); ++i) {
        query.addBindValue(i + 1);
        query.addBindValue(translatedCardTypeName(i + 1));
        query.exec();
    }
    query.exec(QLatin1String(optionStatement));
    query.exec(QLatin1String(optionSeed));
    query.exec(QLatin1String(contentIndex));
    db.commit();
}

void updateCardTypeNames()
{
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery query(db);
    db.transaction();
    query.prepare(QStringLiteral("update cardtype set name = ? where id = ?"));
    for (int i = 1; i <= cardTypeSourceNames().size(); ++i) {
        query.addBindValue(translatedCardTypeName(i));
        query.addBindValue(i);
        query.exec();
    }
    db.commit();
}

QString storeFilePath()
{
    return QSqlDatabase::database().databaseName();
}

void closeStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}
