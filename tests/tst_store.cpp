#include "modalanswer.h"
#include "teststore.h"

#include "store/cardstore.h"
#include "store/settingsrow.h"
#include "store/startup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QStringList expectedSchema = {
    "CREATE TABLE category (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
    "CREATE TABLE card (id INTEGER PRIMARY KEY, type INTEGER NOT NULL, name VARCHAR(40) NOT NULL, "
    "categoryid INTEGER NOT NULL, FOREIGN KEY (categoryid) REFERENCES category)",
    "CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40) NOT NULL, value VARCHAR(100) NOT NULL, "
    "cardid INTEGER NOT NULL)",
    "CREATE TABLE cardtype(id int primary key, name varchar(40))",
    "CREATE TABLE option(id int primary key,language varchar(40), lastlang varchar(40), category int, "
    "password varchar(40))",
};

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
    void newStoreHasSchemaAndSeed();
    void secondStartChangesNothing();
    void emptiedCardTypesAreReseeded();
    void notAStoreIsRefused_data();
    void notAStoreIsRefused();
    void unreadableSettingsRowIsRefused();
    void settingsValuesRoundTrip_data();
    void settingsValuesRoundTrip();
};

void TestStoreFile::newStoreHasSchemaAndSeed()
{
    TestStore store;
    QCOMPARE(column("select sql from sqlite_master where type = 'table'"), expectedSchema);
    QCOMPARE(column("select id from cardtype order by id").size(), 18);
    QStringList names;
    for (int id = 1; id <= 18; ++id)
        names << store.value(QString("select name from cardtype where id = %1").arg(id)).toString();
    QCOMPARE(names, cardTypeSourceNames());
    QCOMPARE(names.first(), QString("Address"));
    QCOMPARE(names.at(12), QString("Password"));
    QCOMPARE(names.last(), QString("Website"));
    QCOMPARE(column("select id || '|' || language || '|' || lastlang || '|' || category || '|' || password "
                    "from option"),
             QStringList{"1|none|none|-1|none"});
    QCOMPARE(store.count("category") + store.count("card") + store.count("content"), 0);
    QCOMPARE(column("select name from sqlite_master where type = 'index' and name = 'content_cardid'").size(), 1);
}

void TestStoreFile::secondStartChangesNothing()
{
    TestStore store;
    store.exec("update option set language = 'en', password = 'secret' where id = 1");
    store.exec("update cardtype set name = 'Changed' where id = 3");
    store.exec("insert into category values(1, 'Web')");
    createTables();
    createTables();
    QCOMPARE(store.count("cardtype"), 18);
    QCOMPARE(store.count("option"), 1);
    QCOMPARE(store.count("category"), 1);
    QCOMPARE(store.value("select name from cardtype where id = 3").toString(), QString("Changed"));
    QCOMPARE(store.value("select password from option").toString(), QString("secret"));
}

void TestStoreFile::emptiedCardTypesAreReseeded()
{
    TestStore store;
    store.exec("update cardtype set name = 'Adresse' where id = 1");
    store.exec("delete from cardtype");
    createTables();
    QCOMPARE(column("select name from cardtype order by id"), cardTypeSourceNames());
}

void TestStoreFile::notAStoreIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("a directory") << "directory";
}

void TestStoreFile::notAStoreIsRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("nimbrel.dat");
    if (kind == "random") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes;
        for (int i = 0; i < 8192; ++i)
            bytes.append(char((i * 7919 + 13) % 251));
        file.write(bytes);
    } else {
        QVERIFY(QDir(dir.path()).mkdir("nimbrel.dat"));
    }
    const QByteArray before = kind == "random" ? digest(path) : QByteArray();

    auto box = answerNextBox();
    QVERIFY(!prepareStore(dir.path()));
    QVERIFY(box->seen);
    QCOMPARE(box->title, QString("Database Error"));
    QVERIFY(!box->text.isEmpty());
    QVERIFY(!QSqlDatabase::contains(QSqlDatabase::defaultConnection));
    if (kind == "random")
        QCOMPARE(digest(path), before);
    else
        QVERIFY(QFileInfo(path).isDir());
}

void TestStoreFile::unreadableSettingsRowIsRefused()
{
    QTemporaryDir dir;
    {
        QVERIFY(openStore(dir.path()));
        // A settings table the seed cannot fill: the row stays missing.
        QSqlQuery().exec("create table option(id int primary key, language, lastlang, category, password, "
                         "extra not null)");
        closeStore();
    }
    auto box = answerNextBox();
    QVERIFY(!prepareStore(dir.path()));
    QVERIFY(box->seen);
    QCOMPARE(box->title, QString("Database Error"));
}

void TestStoreFile::settingsValuesRoundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("quotes") << "it's \"quoted\"'; drop table card; --";
    QTest::newRow("placeholder and backslash") << "%1 and \\%2";
    QTest::newRow("chinese") << QString::fromUtf8("密码口令");
    QTest::newRow("empty") << "";
}

void TestStoreFile::settingsValuesRoundTrip()
{
    QFETCH(QString, password);
    TestStore store;
    QVERIFY(SettingsRow::setPassword(password));
    QCOMPARE(SettingsRow::password().value(), password);
    QVERIFY(!store.value("select password from option").isNull());
    QCOMPARE(store.count("card"), 0);
    QCOMPARE(SettingsRow::language().value(), QString("none"));
}

QTEST_MAIN(TestStoreFile)
#include "tst_store.moc"
