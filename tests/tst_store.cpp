// The store layer without any window: what it writes, the ids it picks and
// what it leaves when a write fails.
#include "vaulttest.h"

#include "store/cardtable.h"
#include "store/cardtextindex.h"
#include "store/findquery.h"
#include "store/storeencryption.h"
#include "store/storefile.h"
#include "store/storekey.h"
#include "store/storelock.h"
#include "store/settingsrow.h"
#include "store/startup.h"
#include "store/storecheck.h"
#include "store/storetablemodel.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// What a user typed, spread over every column that holds typed text.
const char *const typedRows = "insert into category values(1, 'Webmail zebra');"
                              "insert into card values(1, 18, 'forum quokka', 1);"
                              "insert into content values(1, 'Username walrus', 'hunter2 narwhal', 1),"
                              "(2, 'Note', 'ocelot', 1); update option set password = 'päss' where id = 1";
const QStringList typedWords = {"zebra", "quokka", "walrus", "narwhal", "ocelot", "päss"};

#ifdef Q_OS_UNIX
int fileMode(const QString &path)
{
    struct stat info
    {
    };
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}
#endif

} // namespace

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
        // A lock that keeps even readers out leaves the store unchecked, and says so.
        store.exec("PRAGMA busy_timeout = 50");
        OtherProgram excluding(store.filePath(), "BEGIN EXCLUSIVE");
        const StoreCheck check = StoreCheck::run(false);
        QCOMPARE(int(check.verdict), int(StoreCheck::Verdict::Unchecked));
        QVERIFY2(check.detail.startsWith("database is locked"), qPrintable(check.detail));
    }

    void refusedFilesAreLeftAlone()
    {
        // Random bytes, then a directory, where the store would be.
        for (const bool directory : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("nimbrel.dat");
            const QByteArray bytes = QByteArray("\x13\x87\xfe\x01", 4).repeated(2048);
            QVERIFY(directory ? QDir(dir.path()).mkdir("nimbrel.dat") : writeFile(path, bytes));
            ModalAnswer box("Database Error");
            QVERIFY(!prepareStore(dir.path()) && !box.text.isEmpty());
            QVERIFY(!QSqlDatabase::contains(QSqlDatabase::defaultConnection));
            QVERIFY(directory ? QFileInfo(path).isDir() : readFile(path) == bytes);
        }
    }

    void startTellsWhatIsWrong_data()
    {
        QTest::addColumn<QString>("harm");
        QTest::addColumn<QString>("told");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("goesOn");
        const auto row = [](const char *name, const char *harm, const char *told, QMessageBox::StandardButton answer,
                            bool goesOn) {
            QTest::newRow(name) << QString(harm) << QString(told) << int(answer) << goesOn;
        };
        row("damaged lines, quit", "lines", "Damaged Store: is damaged", QMessageBox::Close, false);
        row("damaged lines, read-only", "lines", "Damaged Store: \n*** in database main ***", QMessageBox::Open, true);
        row("no table of lines", "content", "Damaged Store: lacks its tables content while", QMessageBox::Open, true);
        row("empty file", "empty", "Empty Store: is empty", QMessageBox::No, false);
    }

    void startTellsWhatIsWrong()
    {
        QFETCH(QString, harm);
        QFETCH(QString, told);
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        TestStore store("insert into card values(1, 13, 'a', 0);"
                        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                        "insert into content select i, 't', hex(randomblob(40)), 1 from n");
        closeStore();
        if (harm == "lines")
            TestStore::damageTable(store.filePath(), "content");
        else if (harm == "content")
            QVERIFY(OtherProgram(store.filePath()).exec("drop table content"));
        else
            QVERIFY(QFile::resize(store.filePath(), 0));
        const QByteArray before = readFile(store.filePath());
        {
            ModalAnswer box(told.section(": ", 0, 0), QMessageBox::StandardButton(answer));
            QCOMPARE(prepareStore(store.dir()), goesOn);
            QVERIFY2(box.text.contains(told.section(": ", 1)), qPrintable(box.text));
        }
        // Nothing is written: not at the start, and not later when the user goes on.
        QCOMPARE(QSqlDatabase::contains(QSqlDatabase::defaultConnection), goesOn);
        if (goesOn)
            QVERIFY(!SettingsRow::setCategory(1));
        QCOMPARE(readFile(store.filePath()), before);
    }

    void tableModelWritesAllOrNothing()
    {
        TestStore store("insert into category values(2, 'Web'), (5, 'Bank');"
                        "insert into card values(1, 13, 'a', 5), (2, 13, 'b', 5)");
        StoreTableModel lines("content", nullptr);
        lines.setEditStrategy(QSqlTableModel::OnManualSubmit);
        QVERIFY(lines.read("cardid = 1"));
        for (int row = 0; row < 150; ++row) {
            lines.insertRows(row, 1);
            QSqlRecord record = lines.record(row);
            for (const char *field : {"title", "value"})
                StoreTableModel::setField(record, field, QString("%1 %2").arg(field).arg(row + 1));
            StoreTableModel::setField(record, "cardid", 1);
            lines.setRecord(row, record);
        }
        // Refused at the 100th line: none is written, all stay pending.
        QSqlQuery().exec("CREATE TRIGGER refuse BEFORE INSERT ON content WHEN new.id = 100 "
                         "BEGIN SELECT RAISE(ABORT, 'full'); END");
        QVERIFY(!lines.submitAll());
        QVERIFY2(lines.lastError().text().contains("full"), qPrintable(lines.lastError().text()));
        QCOMPARE(store.count("content"), 0);
        QVERIFY(lines.isDirty());
        store.exec("drop trigger refuse");
        QVERIFY(lines.submitAll());
        QCOMPARE(store
                     .value("select count(*) || ',' || min(id) || ',' || max(id) || ',' || sum(value = 'value ' || id) "
                            "from content")
                     .toString(),
                 QString("150,1,150,150"));
        QCOMPARE(lines.rowCount(), 150);
        QVERIFY(lines.removeRows(0, 1) && lines.submitAll());
        QCOMPARE(store.value("select min(id) || ',' || count(*) from content").toString(), QString("2,149"));

        // A new category gets the largest id plus one, after a deleted top row too.
        store.exec("delete from category where id = 5");
        StoreTableModel categories("category", nullptr);
        QVERIFY(categories.read());
        categories.insertRows(1, 1);
        QVERIFY(categories.setData(categories.index(1, 1), "Home"));
        // As the view does when the row is left.
        QVERIFY(categories.submit());
        QCOMPARE(store.value("select group_concat(id || name) from category").toString(), QString("2Web,3Home"));
        QSqlError error;
        QCOMPARE(CategoryTable::countCards(5, &error).value(), 2);
        store.exec("alter table card rename to gone");
        QVERIFY(!CategoryTable::countCards(5, &error) && error.isValid());
    }

    void tableModelUnderALock()
    {
        TestStore store("insert into category values(1, 'Web'), (2, 'Bank')");
        StoreTableModel categories("category", nullptr);
        categories.setEditStrategy(QSqlTableModel::OnManualSubmit);
        QVERIFY(categories.read());
        categories.setData(categories.index(0, 1), "Mail");
        categories.insertRows(2, 1);
        categories.setData(categories.index(2, 1), "Home");
        setBusyTimeoutMs(400);
        store.exec("PRAGMA busy_timeout = 400");
        OtherProgram holder(store.filePath(), "BEGIN EXCLUSIVE");
        // One wait, then the rest of the action fails at once; the rows shown and the edits stay.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!categories.submitAll() && isLockError(categories.lastError()) && clock.restart() >= 400);
        QVERIFY(!categories.read("id = 1") && clock.elapsed() < 200);
        setBusyTimeoutMs(50);
        QVERIFY(categories.isStale());
        QCOMPARE(categories.rowCount(), 3);
        QCOMPARE(categories.index(0, 1).data().toString(), QString("Mail"));
        holder.release();
        QCoreApplication::processEvents();
        QVERIFY(categories.submitAll());
        QCOMPARE(store.value("select group_concat(id || name) from category").toString(), QString("1Mail,2Bank,3Home"));
        QVERIFY(categories.read("id = 1"));
        QCOMPARE(categories.rowCount(), 1);
        QVERIFY(!categories.isStale());
    }

    void deleteCardIsAllOrNothing()
    {
        TestStore store("insert into card values(1, 13, 'a', 0), (2, 13, 'b', 0);"
                        "insert into content values(1, 'A', 'a', 1), (2, 'B', 'b', 2), (3, 'C', 'c', 2)");
        QSqlError error;
        QVERIFY(CardTable::deleteCard(1, &error));
        QCOMPARE(store.value("select group_concat(id) from content").toString(), QString("2,3"));

        // Refused by a trigger after its lines went: the lines come back.
        QSqlQuery().exec("CREATE TRIGGER refuse BEFORE DELETE ON card BEGIN SELECT RAISE(ABORT, 'locked card'); END");
        QVERIFY(!CardTable::deleteCard(2, &error));
        QVERIFY2(error.text().contains("locked card"), qPrintable(error.text()));
        QCOMPARE(store.count("content"), 2);
        store.exec("drop trigger refuse");
        QVERIFY(CardTable::deleteCard(2, &error));
        QCOMPARE(store.count("card") + store.count("content"), 0);
    }

    void encryptionSealsEveryTypedText()
    {
        TestStore store(typedRows);
        const QString password = QString("päss");
        QStringList progress;
        bool compacted = false;
        QString error;
        QVERIFY(StoreEncryption::encrypt(
            password, [&](int done, int total) { progress << QStringLiteral("%1/%2").arg(done).arg(total); },
            &compacted, &error));
        QVERIFY(compacted);
        QCOMPARE(progress, QStringList({"1/4", "2/4", "4/4"}));
        const QByteArray bytes = readFile(store.filePath());
        for (const QString &word : typedWords)
            QVERIFY2(!bytes.contains(word.toUtf8()), qPrintable(word));
        QVERIFY(store.value("select password from option").toString().startsWith("nimbrel-sealed:1:argon2id:"));
        QVERIFY(store.value("select title from content where id = 2").toString().startsWith("nimbrel-sealed:1:"));
        QCOMPARE(store.value("select name from cardtype where id = 18").toString(), QString("Website"));
        QCOMPARE(StoreKey::open("card", "name", store.value("select name from card")), QString("forum quokka"));

        // A value moved into another column is damaged there; another program's plain text is itself.
        store.exec("update card set name = (select value from content where id = 1);"
                   "update category set name = 'typed elsewhere'");
        bool damaged = false;
        QCOMPARE(StoreKey::open("card", "name", store.value("select name from card"), &damaged),
                 QString("(damaged: this text cannot be read)"));
        QVERIFY(damaged);
        QCOMPARE(StoreKey::open("category", "name", store.value("select name from category"), &damaged),
                 QString("typed elsewhere"));
        QVERIFY(!damaged);
        // An emptied value is sealed too, and opens as empty, not as damaged.
        const QString sealedEmpty = StoreKey::seal("content", "value", "");
        QVERIFY(sealedEmpty.startsWith("nimbrel-sealed:1:"));
        QCOMPARE(StoreKey::open("content", "value", sealedEmpty, &damaged), QString(""));
        QVERIFY(!damaged);

        // A later start: the key is gone until the password unwraps it.
        closeStore();
        QVERIFY(openStore(store.dir(), &error));
        const QString sealedValue = store.value("select value from content where id = 2").toString();
        for (const QString &wrong : {QString(), QString("pass"), QString("nimbrel-sealed:1:")})
            QCOMPARE(StoreEncryption::check(wrong, true, &error), StoreEncryption::Check::Differs);
        QVERIFY(!StoreKey::isInstalled());
        QCOMPARE(StoreEncryption::check(password, true, &error), StoreEncryption::Check::Matches);
        QCOMPARE(StoreKey::open("content", "value", sealedValue), QString("ocelot"));
        QCOMPARE(store.value("PRAGMA secure_delete").toInt(), 1);

        // A new password wraps the same key again; no text changes.
        QVERIFY(StoreEncryption::setPassword("new one", &error));
        QCOMPARE(store.value("select value from content where id = 2").toString(), sealedValue);
        QCOMPARE(StoreEncryption::check(password, false, &error), StoreEncryption::Check::Differs);
        QCOMPARE(StoreEncryption::check("new one", false, &error), StoreEncryption::Check::Matches);
        QVERIFY(!StoreEncryption::encrypt(
            "new one", [](int, int) {}, &compacted, &error));
        store.exec("update option set password = substr(password, 1, length(password) - 4)");
        QCOMPARE(StoreEncryption::check("new one", false, &error), StoreEncryption::Check::Unreadable);
    }

    // While the vault is locked the tables are neither read nor written:
    // without the key the texts could be neither opened nor sealed.
    void lockedVaultReadsAndWritesNothing()
    {
        TestStore store(typedRows);
        TestStore::encrypt("päss");
        QString error;
        StoreTableModel cards("card", nullptr);
        cards.setEditStrategy(QSqlTableModel::OnManualSubmit);
        QVERIFY(cards.read() && cards.setData(cards.index(0, 2), "typed while locked"));
        const QString sealed = store.value("select name from card").toString();
        std::vector<int> found;
        StoreKey::lock();
        QVERIFY(StoreKey::isLocked() && !StoreKey::isInstalled());
        QVERIFY(!cards.submitAll());
        QCOMPARE(cards.lastError().text(), QString("the vault is locked"));
        QVERIFY(!cards.read() && cards.isDirty());
        QCOMPARE(store.value("select name from card").toString(), sealed);
        QVERIFY(!CardTextIndex::instance().find(FindQuery("quokka"), &found, &error));
        QCOMPARE(error, QString("the vault is locked"));

        QCOMPARE(StoreEncryption::check("päss", true, &error), StoreEncryption::Check::Matches);
        QVERIFY(!StoreKey::isLocked() && cards.submitAll());
        QCOMPARE(StoreKey::open("card", "name", store.value("select name from card")), QString("typed while locked"));
        QVERIFY(CardTextIndex::instance().find(FindQuery("while locked"), &found, &error));
        QCOMPARE(found, std::vector<int>({1}));
        // Closing the store is no lock: a plain store opened next reads as ever.
        StoreKey::clear();
        QVERIFY(!StoreKey::isLocked());
    }

    void encryptionIsAllOrNothing()
    {
        TestStore store(typedRows);
        const QStringList before = {store.value("select group_concat(name) from card").toString(),
                                    store.value("select group_concat(title || value) from content").toString()};
        QSqlQuery().exec("CREATE TRIGGER refuse BEFORE UPDATE ON content WHEN new.id = 2 "
                         "BEGIN SELECT RAISE(ABORT, 'refused line'); END");
        bool compacted = false;
        QString error;
        QVERIFY(!StoreEncryption::encrypt(
            QString("päss"), [](int, int) {}, &compacted, &error));
        QVERIFY2(error.contains("refused line"), qPrintable(error));
        QCOMPARE(QStringList({store.value("select group_concat(name) from card").toString(),
                              store.value("select group_concat(title || value) from content").toString()}),
                 before);
        QVERIFY(!StoreEncryption::isEncrypted());
        // No key could be made (no guarded memory): refused, nothing written.
        QVERIFY(!StoreEncryption::encrypt(
            StoreEncryption::NewKey(), [](int, int) {}, &compacted, &error));
        QCOMPARE(error, QString("there is not enough memory to derive the key"));
        QVERIFY(!StoreEncryption::isEncrypted() && !StoreKey::isInstalled());
        QCOMPARE(StoreEncryption::check(QString("päss"), true, &error), StoreEncryption::Check::Matches);
    }

#ifdef Q_OS_UNIX
    void filesOnlyTheUserReads()
    {
        const mode_t savedMask = umask(022);
        QTemporaryDir older;
        const QString oldStore = older.filePath("nimbrel.dat");
        QVERIFY(writeFile(oldStore, ""));
        QCOMPARE(fileMode(oldStore), 0644);
        QString error;
        QVERIFY(openStore(older.path(), &error));
        closeStore();
        {
            TestStore store;
            StoreLock lock(store.dir());
            QVERIFY(lock.claim() == StoreLock::Claim::Taken);
            QVERIFY(StoreFile::writeCopy(store.filePath(), oldStore, &error));
            QCOMPARE(QList<int>({fileMode(store.filePath()), fileMode(store.filePath() + ".lock"), fileMode(oldStore)}),
                     QList<int>({0600, 0600, 0600}));
        }
        umask(savedMask);
    }
#endif
};

QTEST_MAIN(TestStoreLayer)
#include "tst_store.moc"
