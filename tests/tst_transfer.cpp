// Export of the store and import of another store, driven through the
// "&Options" entries of a real main window over a temporary store.
#include "vaulttest.h"

#include "widgets/tablesupport.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Password = std::optional<QString>;

// Categories 1 and 2, cards 1 to 3, lines 1 to 10, password "none".
const char *const sampleRows =
    "insert or replace into option values(1, 'none', 'none', -1, 'none');"
    "insert into category values(1, 'Web'), (2, 'Bank');"
    "insert into card values(1, 18, 'forum', 1), (2, 2, 'savings', 2), (3, 5, 'visa', 2);"
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 10) "
    "insert into content select i, 't' || i, 'v' || i, (i - 1) % 3 + 1 from n;";

// Lines 11 to 3000 of card 1: pages of lines below the table's first page.
const char *const manyLines = "with recursive n(i) as (select 11 union all select i + 1 from n where i < 3000) "
                              "insert into content select i, 't', hex(randomblob(40)), 1 from n";

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
            << "Import Database: is in use by another program and cannot be read. Nothing was imported. Try again "
               "when that program has let go of it.\ndatabase is locked" << same;
        // Refused before any of it is read, the password included: a recursive view never ends.
        QTest::newRow("a view named option")
            << QString(ownRows)
            << "drop table option; create view option(id, password) as with recursive r(i) as "
               "(select 1 union all select i + 1 from r) select i, 'none' from r"
            << Password() << "Import Database: holds views or triggers" << same;
        QTest::newRow("a trigger") << QString(ownRows) << "raw:create trigger keep after delete on card begin select 1; end"
                                   << Password() << "Import Database: holds views or triggers" << same;
        QTest::newRow("damaged lines") << QString(ownRows) << "damaged" << Password()
                                       << "Import Database: is damaged or cannot be read." << same;
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
        else if (source == "damaged")
            writeStore(path, manyLines);
        else
            writeStore(path, source == "locked" || source.startsWith("raw:") ? QString() : source);
        file.close();
        if (source.startsWith("raw:"))
            QVERIFY(OtherProgram(path).exec(source.mid(4)));
        if (source == "damaged")
            TestStore::damageTable(path, "content");
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
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small{1024, saved.rlim_max};
        // Past the limit a write fails instead of the signal ending the test.
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString seen =
            runEntry(window, QStringLiteral("Export Data..."), target, Password(), "Export Database: ");
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY2(seen.startsWith("Export Database: ") && seen.contains("unchanged"), qPrintable(seen));
        QCOMPARE(contents(files.path()), firstExport);
#endif
        // A store another tool switched to write-ahead logging: its latest row is in the copy.
        store.exec("PRAGMA journal_mode = WAL; insert into card values(9, 13, 'latest', 1)");
        QVERIFY(QFileInfo(store.filePath() + "-wal").size() > 0);
        runEntry(window, QStringLiteral("Export Data..."), target, Password(), "");
        QCOMPARE(QDir(files.path()).entryList(QDir::Files), QStringList("export.db"));
        {
            QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "copy");
            copy.setDatabaseName(target);
            QSqlQuery query(copy);
            QVERIFY(copy.open() && query.exec("select name from card where id = 9") && query.next());
            QCOMPARE(query.value(0).toString(), QString("latest"));
        }
        QSqlDatabase::removeDatabase("copy");
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
