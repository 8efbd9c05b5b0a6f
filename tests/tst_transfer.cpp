// Export of the store and import of another store, driven through the
// "&Options" entries of a real main window over a temporary store.
#include "vaulttest.h"

#include "store/keyenvelope.h"
#include "store/storeencryption.h"
#include "store/storekey.h"
#include "widgets/tablesupport.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Password = std::optional<QString>;

// Categories 1 and 2, cards 1 to 3, lines 1 to 10, password "none".
const char *const sampleRows = "insert or replace into option values(1, 'none', 'none', -1, 'none');"
                               "insert into category values(1, 'Web'), (2, 'Bank');"
                               "insert into card values(1, 18, 'forum', 1), (2, 2, 'savings', 2), (3, 5, 'visa', 2);"
                               "with recursive n(i) as (select 1 union all select i + 1 from n where i < 10) "
                               "insert into content select i, 't' || i, 'v' || i, (i - 1) % 3 + 1 from n;";

// Largest ids 4, 7 and 20.
const char *const ownRows = "insert into category values(4, 'Web'); insert into card values(7, 13, 'mine', 4);"
                            "insert into content values(20, 'Password', 'x', 7)";

// A store file as the program makes one, with the sample rows and `extra`;
// made before the store under test, which takes the same connection.
void writeStore(const QString &path, const QString &extra)
{
    TestStore source(sampleRows + extra);
    QVERIFY(QFile::copy(source.filePath(), path));
}

// The sample store, encrypted under `password`.
void writeEncryptedStore(const QString &path, const QString &password)
{
    TestStore source(sampleRows);
    bool compacted = false;
    QString error;
    QVERIFY(StoreEncryption::encrypt(
        password, [](int, int) {}, &compacted, &error));
    QVERIFY(QFile::copy(source.filePath(), path));
}

// The texts of a column in id order, opened, joined by ",".
QString openedColumn(const QString &table, const QString &column)
{
    QStringList texts;
    QSqlQuery query(QStringLiteral("select %1 from %2 order by id").arg(column, table));
    while (query.next())
        texts << StoreKey::open(table, column, query.value(0));
    return texts.join(QLatin1Char(','));
}

// Each file of `dir` with its bytes.
QMap<QString, QByteArray> contents(const QString &dir)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo &info : QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile file(info.filePath());
        files.insert(info.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable");
    }
    return files;
}

// Category, card and content rows as "id:columns,..." in id order.
QStringList storeRows(const TestStore &store)
{
    const QString concat = QStringLiteral("select group_concat(%1) from (select * from %2 order by id)");
    return {
        store.value(concat.arg("id || ':' || name", "category")).toString(),
        store.value(concat.arg("id || ':' || type || ':' || name || ':' || categoryid", "card")).toString(),
        store.value(concat.arg("id || ':' || value || ':' || cardid", "content")).toString(),
    };
}

// Chooses `file` in the entry `text` of "&Options", types `typed` into the
// password dialog and presses Return, and presses OK on the box titled as
// `box` begins. Returns the box's "title: text".
QString runEntry(MainWindow &window, const QString &text, const QString &file, const Password &typed,
                 const QString &box)
{
    window.transferFileName = [file](const QString &) { return file; };
    std::optional<ModalAnswer> login, told;
    if (typed)
        login.emplace("Password Input", QMessageBox::NoButton, [typed](QWidget *modal) {
            QTest::keyClicks(modal->findChild<QLineEdit *>(), *typed);
            QTest::keyClick(modal->findChild<QLineEdit *>(), Qt::Key_Return);
        });
    if (!box.isEmpty())
        told.emplace(box.section(": ", 0, 0));
    trigger(&window, text);
    return told ? told->title + QStringLiteral(": ") + told->text : QString();
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    void import_data()
    {
        // The chosen file: a store with password "none" and `source` as an extra row.
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("source");
        QTest::addColumn<Password>("typed");
        // The message box: its title and a part of its text.
        QTest::addColumn<QString>("box");
        // Store rows afterwards; none when the import must change nothing.
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("largest ids 4, 7, 20; no settings row")
            << QString(ownRows) << "delete from option" << Password("") << ""
            << QStringList {
                   "4:Web,5:Web,6:Bank", "7:13:mine:4,8:18:forum:5,9:2:savings:6,10:5:visa:6",
                   "20:x:7,21:v1:8,22:v2:9,23:v3:10,24:v4:8,25:v5:9,26:v6:10,27:v7:8,28:v8:9,29:v9:10,30:v10:8"};
        QTest::newRow("references of 0 name no row")
            << QString(ownRows)
            << "update card set categoryid = 0 where id = 3; update content set cardid = 0 where id = 10"
            << Password("none") << ""
            << QStringList {
                   "4:Web,5:Web,6:Bank", "7:13:mine:4,8:18:forum:5,9:2:savings:6,10:5:visa:0",
                   "20:x:7,21:v1:8,22:v2:9,23:v3:10,24:v4:8,25:v5:9,26:v6:10,27:v7:8,28:v8:9,29:v9:10,30:v10:0"};
        const QStringList same;
        QTest::newRow("held by another program")
            << QString(ownRows) << "locked" << Password()
            << "Import Database: is in use by another program and cannot be read:\ndatabase is locked" << same;
        QTest::newRow("random bytes") << QString(ownRows) << "bytes:\x13\x87\xfe" << Password()
                                      << "Import Database: is not a card store" << same;
        QTest::newRow("empty entry for an unset password")
            << QString(ownRows) << "" << Password("") << "Passowrd Input: Incorrect password of Import Database."
            << same;
        // Found in the last table copied, past more cards than the table reads
        // at once: the rollback must take all and leave the table whole.
        QTest::newRow("a line of a card that is no number")
            << "insert into category values(4, 'Web'); with recursive n(i) as (select 1 union all select i + 1 "
               "from n where i < 300) insert into card select i, 13, 'card ' || i, 4 from n"
            << "update content set cardid = 'x' where id = 5" << Password("none")
            << "Import Database: holds ids that are not positive whole numbers" << same;
    }

    void initTestCase() { KeyEnvelope::setLimits(KeyEnvelope::smallestLimits()); }

    void importBetweenPlainAndEncrypted_data()
    {
        QTest::addColumn<bool>("sourceEncrypted");
        QTest::addColumn<bool>("ownEncrypted");
        QTest::newRow("plain into encrypted") << false << true;
        QTest::newRow("encrypted into plain") << true << false;
        QTest::newRow("encrypted into encrypted") << true << true;
    }

    void importBetweenPlainAndEncrypted()
    {
        QFETCH(bool, sourceEncrypted);
        QFETCH(bool, ownEncrypted);
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("import.db"));
        if (sourceEncrypted)
            writeEncryptedStore(path, "their secret");
        else
            writeStore(path, "update option set password = 'their secret'");
        TestStore store(QString(ownRows) + "; update option set password = 'my secret'");
        bool compacted = false;
        QString error;
        if (ownEncrypted)
            QVERIFY(StoreEncryption::encrypt(
                "my secret", [](int, int) {}, &compacted, &error));
        MainWindow window;

        runEntry(window, QStringLiteral("Import Data..."), path, Password("my secret"),
                 "Passowrd Input: Incorrect password of Import Database.");
        QCOMPARE(store.count("content"), 1);
        runEntry(window, QStringLiteral("Import Data..."), path, Password("their secret"), "");

        QCOMPARE(openedColumn("category", "name"), QString("Web,Web,Bank"));
        QCOMPARE(openedColumn("card", "name"), QString("mine,forum,savings,visa"));
        QCOMPARE(openedColumn("content", "title") + "|" + openedColumn("content", "value"),
                 QString("Password,t1,t2,t3,t4,t5,t6,t7,t8,t9,t10|x,v1,v2,v3,v4,v5,v6,v7,v8,v9,v10"));
        QCOMPARE(store.value("select count(*) from content where value like 'nimbrel-sealed:1:%'").toInt(),
                 ownEncrypted ? 11 : 0);
    }

    void import()
    {
        QFETCH(QString, existing);
        QFETCH(QString, source);
        QFETCH(Password, typed);
        QFETCH(QString, box);
        QFETCH(QStringList, expected);
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("import.db"));
        QFile file(path);
        if (source.startsWith("bytes:"))
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(source.toLatin1().repeated(100)) >= 0);
        else
            writeStore(path, source == "locked" ? QString() : source);
        file.close();
        TestStore store(existing);
        std::optional<OtherProgram> holder;
        if (source == "locked")
            holder.emplace(path, "BEGIN EXCLUSIVE");
        const QStringList rowsBefore = storeRows(store);
        MainWindow window;
        auto *model = qobject_cast<QSqlTableModel *>(window.findChild<QTableView *>("cardView")->model());
        QStringList progress;
        connect(&window, &MainWindow::setProgressValue, this, [&](int value) {
            progress << QStringLiteral("%1/%2").arg(value).arg(window.findChild<QProgressBar *>()->maximum());
        });

        const QString seen = runEntry(window, QStringLiteral("Import Data..."), path, typed, box);

        QCOMPARE(seen.section(": ", 0, 0), box.section(": ", 0, 0));
        QVERIFY2(seen.contains(box.section(": ", 1)), qPrintable(seen));
        QCOMPARE(storeRows(store), expected.isEmpty() ? rowsBefore : expected);
        QCOMPARE(categoryEntries(&window), storeRows(store).at(0));
        QCOMPARE(model->rowCount(), store.count(QStringLiteral("card")));
        // Table by table up to the 15 rows of the file.
        if (!expected.isEmpty())
            QCOMPARE(progress, QStringList({"2/15", "5/15", "15/15"}));
    }

    void exportCopiesStore()
    {
        QTemporaryDir files;
        const QString target = files.filePath(QStringLiteral("export.db"));
        writeStore(target, "delete from card");
        TestStore store(sampleRows);
        MainWindow window;
        auto *model = window.findChild<QTableView *>("cardView")->model();
        QVERIFY(model->setData(model->index(2, 2), QStringLiteral("typed")));

        runEntry(window, QStringLiteral("Export Data..."), target, Password(), "");

        // A byte copy over the older file, with the name typed just before.
        QCOMPARE(store.value(QStringLiteral("select name from card where id = 3")).toString(), QStringLiteral("typed"));
        const auto firstExport = contents(files.path());
        QCOMPARE(firstExport.values(), contents(store.dir()).values());
#ifdef Q_OS_UNIX
        // Root writes anywhere, so the next copy is made to fail by a file-size limit.
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small {1024, saved.rlim_max};
        // Past the limit a write fails instead of the signal ending the test.
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString seen =
            runEntry(window, QStringLiteral("Export Data..."), target, Password(), "Export Database: ");
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY2(seen.startsWith("Export Database: ") && seen.contains("unchanged"), qPrintable(seen));
        QCOMPARE(contents(files.path()), firstExport);
#endif
        // A name without a suffix gets the one the import offers.
        runEntry(window, QStringLiteral("Export Data..."), files.filePath("backup"), Password(), "");
        QVERIFY(QFile::exists(files.filePath("backup.db")) && !QFile::exists(files.filePath("backup")));
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
