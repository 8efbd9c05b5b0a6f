#include "modalanswer.h"
#include "teststore.h"

#include "store/cardstore.h"
#include "store/startup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSqlQuery>
#include <QtTest>

namespace {

QStringList column(const QString &statement)
{
    QStringList values;
    QSqlQuery query;
    query.exec(statement);
    while (query.next())
        values << query.value(0).toString();
    return values;
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestStoreFile : public QObject
{
    Q_OBJECT

private slots:
    void newStoreThenLaterStarts();
    void notAStoreIsRefused_data();
    void notAStoreIsRefused();
};

void TestStoreFile::newStoreThenLaterStarts()
{
    TestStore store;
    const QStringList schema = {
        "CREATE TABLE category (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
        "CREATE TABLE card (id INTEGER PRIMARY KEY, type INTEGER NOT NULL, name VARCHAR(40) NOT NULL, "
        "categoryid INTEGER NOT NULL, FOREIGN KEY (categoryid) REFERENCES category)",
        "CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40) NOT NULL, value VARCHAR(100) NOT NULL, "
        "cardid INTEGER NOT NULL)",
        "CREATE TABLE cardtype(id int primary key, name varchar(40))",
        "CREATE TABLE option(id int primary key,language varchar(40), lastlang varchar(40), category int, "
        "password varchar(40))",
    };
    QCOMPARE(column("select sql from sqlite_master where type = 'table'"), schema);
    QCOMPARE(column("select name from sqlite_master where type = 'index' and name = 'content_cardid'").size(), 1);
    QCOMPARE(column("select id || ' ' || name from cardtype").mid(11, 3),
             QStringList({"12 Mobile Phone", "13 Password", "14 Paypal Account"}));
    QCOMPARE(column("select name from cardtype order by id"), cardTypeSourceNames());
    const QString seed = "select id || '|' || language || '|' || lastlang || '|' || category || '|' || password "
                         "from option";
    QCOMPARE(column(seed), QStringList{"1|none|none|-1|none"});
    QCOMPARE(store.count("category") + store.count("card") + store.count("content"), 0);

    // Later starts change nothing that is stored and bring back what is missing.
    store.exec("update option set language = 'en', password = 'secret' where id = 1");
    store.exec("insert into category values(1, 'Web')");
    store.exec("update cardtype set name = 'Changed' where id = 3");
    createTables();
    QCOMPARE(column(seed), QStringList{"1|en|none|-1|secret"});
    QCOMPARE(store.count("category"), 1);
    QCOMPARE(column("select name from cardtype where id = 3"), QStringList{"Changed"});
    store.exec("delete from cardtype");
    createTables();
    QCOMPARE(column("select name from cardtype order by id"), cardTypeSourceNames());
}

void TestStoreFile::notAStoreIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("a directory") << "directory";
    QTest::newRow("no settings row") << "settings";
}

void TestStoreFile::notAStoreIsRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("nimbrel.dat");
    if (kind == "random") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 8192; ++i)
            file.putChar(char((i * 7919 + 13) % 251));
    } else if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("nimbrel.dat"));
    } else {
        // A settings table the seed cannot fill: the row stays missing.
        QString error;
        QVERIFY(openStore(dir.path(), &error));
        QSqlQuery().exec("create table option(id int primary key, language, lastlang, category, password, "
                         "extra not null)");
        closeStore();
    }
    const QByteArray before = digest(path);

    auto box = answerNextBox();
    QVERIFY(!prepareStore(dir.path()));
    QVERIFY(box->seen);
    QCOMPARE(box->title, QString("Database Error"));
    QVERIFY(!box->text.isEmpty());
    QVERIFY(!QSqlDatabase::contains(QSqlDatabase::defaultConnection));
    // A file that is not a store is left as it was.
    if (kind != "settings")
        QCOMPARE(digest(path), before);
    QCOMPARE(QFileInfo(path).isDir(), kind == "directory");
}

QTEST_MAIN(TestStoreFile)
#include "tst_store.moc"
