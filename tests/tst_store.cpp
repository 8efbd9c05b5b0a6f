// The store layer without any window: what it writes, the ids it picks and
// what it leaves when a write fails.
#include "vaulttest.h"

#include "store/cardtable.h"
#include "store/settingsrow.h"
#include "store/startup.h"
#include "store/tableids.h"

class TestStoreLayer : public QObject
{
    Q_OBJECT

private slots:
    void newStoreAndLaterStarts()
    {
        TestStore store;
        const QString seed = "select id || '|' || language || '|' || lastlang || '|' || category || '|' || password "
                             "from option";
        QCOMPARE(store.value(seed).toString(), QString("1|none|none|-1|none"));
        QCOMPARE(store.value("select count(*) from sqlite_master where type = 'table'").toInt(), 5);
        // Imports attach the other file by a read-only URI name, which SQLite may be built to refuse.
        QVERIFY(QSqlDatabase::database().connectOptions().contains("QSQLITE_OPEN_URI"));

        // Later starts only read what is complete, keep what is stored and bring back what is missing.
        QVERIFY(SettingsRow::setPassword("it's \"x\""));
        store.exec("insert into category values(1, 'Web'); update cardtype set name = 'Changed' where id = 3");
        store.makeReadOnly();
        QVERIFY(createTables());
        store.exec("PRAGMA query_only = OFF");
        QCOMPARE(SettingsRow::password().value(), QString("it's \"x\""));
        QCOMPARE(store.value("select name from cardtype where id = 3").toString(), QString("Changed"));
        QCOMPARE(store.count("category"), 1);
        store.exec("delete from cardtype where id in (2, 17)");
        QVERIFY(createTables());
        QCOMPARE(store.value("select group_concat(name) from cardtype where id in (2, 3, 17)").toString(),
                 QString("Bank Account,Changed,Visa Card"));
        store.exec("delete from option");
        QVERIFY(!SettingsRow::password());
    }

    void startsUnderAnotherProgramsWriteLock()
    {
        TestStore store("insert into category values(1, 'Web')");
        closeStore();
        OtherProgram holder(store.filePath(), "BEGIN IMMEDIATE");
        QVERIFY(prepareStore(store.dir()));
        // A new language's names wait for a start that can write them.
        QTranslator translator;
        QCOMPARE(applyLanguage(translator, QString(), "en_GB"), QString("en_GB"));
        QCOMPARE(store.value("select lastlang from option").toString(), QString("none"));
        holder.release();
        applyLanguage(translator, QString(), "en_GB");
        QCOMPARE(store.value("select lastlang from option").toString(), QString("en_GB"));
    }

    void refusedFilesAreLeftAlone()
    {
        // Random bytes, then a directory, where the store would be.
        for (const bool directory : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("nimbrel.dat");
            QFile file(path);
            const QByteArray bytes = QByteArray("\x13\x87\xfe\x01", 4).repeated(2048);
            QVERIFY(directory ? QDir(dir.path()).mkdir("nimbrel.dat")
                              : file.open(QIODevice::WriteOnly) && file.write(bytes) > 0);
            file.close();
            ModalAnswer box("Database Error");
            QVERIFY(!prepareStore(dir.path()));
            QVERIFY(!box.text.isEmpty());
            QVERIFY(!QSqlDatabase::contains(QSqlDatabase::defaultConnection));
            QVERIFY(directory ? QFileInfo(path).isDir() : file.open(QIODevice::ReadOnly) && file.readAll() == bytes);
        }
    }

    void idsAndCategories()
    {
        TestStore store("insert into category values(2, 'Web'), (5, 'Bank');"
                        "insert into card values(1, 13, 'a', 5), (2, 13, 'b', 5)");
        QCOMPARE(TableIds::nextId("category"), 6);
        QCOMPARE(TableIds::nextId("content"), 1);
        store.exec("delete from category where id = 5");
        QCOMPARE(TableIds::nextId("category"), 3);
        QString error;
        QCOMPARE(CategoryTable::countCards(5, &error).value(), 2);
        store.exec("alter table card rename to gone");
        QVERIFY(!CategoryTable::countCards(5, &error));
        QVERIFY(!error.isEmpty());
    }

    void deleteCardIsAllOrNothing()
    {
        TestStore store("insert into card values(1, 13, 'a', 0), (2, 13, 'b', 0);"
                        "insert into content values(1, 'A', 'a', 1), (2, 'B', 'b', 2), (3, 'C', 'c', 2)");
        QString error;
        QVERIFY(CardTable::deleteCard(1, &error));
        QCOMPARE(store.value("select group_concat(id) from content").toString(), QString("2,3"));

        // Refused by a trigger after its lines went: the lines come back.
        QSqlQuery().exec("CREATE TRIGGER refuse BEFORE DELETE ON card BEGIN SELECT RAISE(ABORT, 'locked card'); END");
        QVERIFY(!CardTable::deleteCard(2, &error));
        QVERIFY2(error.contains("locked card"), qPrintable(error));
        QCOMPARE(store.count("content"), 2);
        store.exec("drop trigger refuse");
        QVERIFY(CardTable::deleteCard(2, &error));
        QCOMPARE(store.count("card") + store.count("content"), 0);
    }
};



QTEST_MAIN(TestStoreLayer)
#include "tst_store.moc"
