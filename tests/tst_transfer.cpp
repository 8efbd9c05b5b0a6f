// Export of the store and import of another store: their outcomes below
// the windows over a temporary store, and what the "&Options" entries of a
// real main window ask and tell.
#include "vaulttest.h"

#include "store/storefile.h"
#include "store/storeimport.h"

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Password = std::optional<QString>;
using Kind = TransferOutcome::Kind;

// Categories 1 and 2, cards 1 to 3, lines 1 to 10, password "none".
const char *const sampleRows = "insert or replace into option values(1, 'none', 'none', -1, 'none');"
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

// The sample store, encrypted under `password`.
void writeEncryptedStore(const QString &path, const QString &password)
{
    TestStore source(sampleRows);
    TestStore::encrypt(password);
    QVERIFY(QFile::copy(source.filePath(), path));
}

// Category, card and content rows as "id:columns,..." in id order, texts
// opened ("N rows: first … last" past a dozen rows), and the number of
// sealed line values when there are any.
QStringList storeRows()
{
    const auto rows = [](const QString &table, const QStringList &columns) {
        const QStringList all = TestStore::opened(table, columns, ':');
        return all.size() <= 12 ? all.join(',')
                                : QStringLiteral("%1 rows: %2 … %3").arg(all.size()).arg(all.first(), all.last());
    };
    QStringList found {rows("category", {"id", "name"}), rows("card", {"id", "type", "name", "categoryid"}),
                       rows("content", {"id", "value", "cardid"})};
    QSqlQuery sealed("select count(*) from content where value like 'nimbrel-sealed:%'");
    if (sealed.next() && sealed.value(0).toInt() > 0)
        found << QStringLiteral("sealed %1").arg(sealed.value(0).toInt());
    return found;
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
            QCOMPARE(modal->findChild<QLineEdit *>()->echoMode(), QLineEdit::Password);
            QTest::keyClicks(modal->findChild<QLineEdit *>(), *typed);
            // Escape alone cancels.
            QTest::keyClick(modal->findChild<QLineEdit *>(), typed->isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
    if (!box.isEmpty())
        told.emplace(box.section(": ", 0, 0));
    trigger(&window, text);
    return told ? told->title + QStringLiteral(": ") + told->text : QString();
}

// The cards after the id as "type|name|category|title=value|...", lines in
// id order.
QStringList cardsAfter(int id)
{
    QSqlQuery query;
    query.exec(QStringLiteral("select c.type || '|' || c.name || '|' || coalesce(g.name, '') || coalesce((select "
                              "group_concat('|' || title || '=' || value, '') from (select * from content where "
                              "cardid = c.id order by id)), '') from card c left join category g on g.id = "
                              "c.categoryid where c.id > %1 order by c.id")
                   .arg(id));
    QStringList cards;
    while (query.next())
        cards << query.value(0).toString();
    return cards;
}

// Imports the CSV text through "Import CSV...", confirming the preview;
// the preview's summary and the last box's text.
QString importCsv(MainWindow &window, const QByteArray &csv, bool refused = false)
{
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("passwords.csv"));
    if (!writeFile(path, csv))
        return "not written";
    window.transferFileName = [path](const QString &) { return path; };
    QString summary;
    std::optional<ModalAnswer> preview;
    if (!refused)
        preview.emplace("Import CSV", QMessageBox::NoButton, [&summary](QWidget *modal) {
            summary = modal->findChild<QLabel *>("csvSummary")->text() + "\n";
            qobject_cast<QDialog *>(modal)->accept();
        });
    ModalAnswer told("Import CSV");
    trigger(&window, "Import CSV...");
    return summary + told.text;
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    void importOutcome_data()
    {
        // The open store's rows; "encrypted;" first encrypts it under "my secret".
        QTest::addColumn<QString>("own");
        // The other file: the sample store with these rows too, or "empty",
        // "bytes:…", "raw:…" (run as another program), "damaged", "locked",
        // "encrypted" (under "their secret", "encrypted;…" then run), "none" (no file).
        QTest::addColumn<QString>("source");
        // Its name in a folder of its own, or "own" for the open store's file.
        QTest::addColumn<QString>("file");
        QTest::addColumn<Password>("typed");
        QTest::addColumn<Kind>("kind");
        // What the user reads, %1 standing for the file.
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");
        // Store rows afterwards; none when the import must change nothing.
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("progress");

        const QString none;
        const QStringList same;
        const QStringList shifted {
            "4:Web,5:Web,6:Bank", "7:13:mine:4,8:18:forum:5,9:2:savings:6,10:5:visa:6",
            "20:x:7,21:v1:8,22:v2:9,23:v3:10,24:v4:8,25:v5:9,26:v6:10,27:v7:8,28:v8:9,29:v9:10,30:v10:8"};
        const QStringList fifteen {"0/15", "2/15", "5/15", "15/15"};
        const QString notStore = "%1 is not a card store: it has no tables of categories, cards and lines. "
                                 "Nothing was imported.";
        const QString notPlain = "%1 holds views or triggers where a card store holds only its tables. "
                                 "It was not read, and nothing was imported.";
        const QString wrong = "Incorrect password of Import Database.";
        const QString inUse = "%1 is in use by another program and cannot be read. Nothing was imported. "
                              "Try again when that program has let go of it.";
        const QString locked = "database is locked Unable to execute statement";
        const auto row = [](const char *name, const QString &own, const QString &source, const QString &file,
                            const Password &typed, Kind kind, const QString &message, const QString &detail,
                            const QStringList &rows, const QStringList &progress) {
            QTest::newRow(name) << own << source << file << typed << kind << message << detail << rows << progress;
        };

        row("largest ids 4, 7, 20; no settings row", QString(ownRows), "delete from option", "import.db", Password(""),
            Kind::Done, none, none, shifted, fifteen);
        row("references of 0 name no row", QString(ownRows),
            "update card set categoryid = 0 where id = 3; update content set cardid = 0 where id = 10", "import.db",
            Password("none"), Kind::Done, none, none,
            QStringList {"4:Web,5:Web,6:Bank", "7:13:mine:4,8:18:forum:5,9:2:savings:6,10:5:visa:0",
                         "20:x:7,21:v1:8,22:v2:9,23:v3:10,24:v4:8,25:v5:9,26:v6:10,27:v7:8,28:v8:9,29:v9:10,30:v10:"
                         "0"},
            fifteen);
        row("a path holding #, ? and %", QString(ownRows), "", "a#b?c%41d.db", Password("none"), Kind::Done, none, none,
            shifted, fifteen);
        row("the open store itself", QString(ownRows), "", "own", Password("none"), Kind::Done, none, none,
            QStringList {"4:Web,8:Web", "7:13:mine:4,14:13:mine:8", "20:x:7,40:x:14"},
            QStringList {"0/3", "1/3", "2/3", "3/3"});
        // Three slices of lines, and more categories than a table fetches at once (256).
        const QString manyRows = "with recursive n(i) as (select 3 union all select i + 1 from n where i < 300) "
                                 "insert into category select i, 'c' || i from n;"
                                 "with recursive n(i) as (select 11 union all select i + 1 from n where i < 100100) "
                                 "insert into content select i, 't', 'w' || i, 1 from n";
        const QStringList manyShifted {"301 rows: 4:Web … 304:c300",
                                       "7:13:mine:4,8:18:forum:5,9:2:savings:6,10:5:visa:6",
                                       "100101 rows: 20:x:7 … 100120:w100100:8"};
        row("more than one slice into a non-empty store", QString(ownRows), manyRows, "import.db", Password("none"),
            Kind::Done, none, none, manyShifted,
            QStringList {"0/100403", "300/100403", "303/100403", "50303/100403", "100303/100403", "100403/100403"});
        // Recoded, the rows are read on ahead from one slice into the next.
        row("more than one slice into an encrypted store", "encrypted;" + QString(ownRows), "encrypted;" + manyRows,
            "import.db", Password("their secret"), Kind::Done, none, none, QStringList(manyShifted) << "sealed 100101",
            QStringList {"0/100403", "300/100403", "303/100403", "52303/100403", "100403/100403"});
        row("encrypted into plain", QString(ownRows), "encrypted", "import.db", Password("their secret"), Kind::Done,
            none, none, shifted, fifteen);
        row("encrypted into encrypted", "encrypted;" + QString(ownRows), "encrypted", "import.db",
            Password("their secret"), Kind::Done, none, none, (QStringList(shifted) << "sealed 11"), fifteen);
        // A text of a plain store that only looks sealed is its own text.
        const QString looksSealed = "nimbrel-sealed:1:" + QString(60, '0');
        row("plain into encrypted", "encrypted;" + QString(ownRows),
            "update option set password = 'their secret'; update content set value = '" + looksSealed
                + "' where id = 1",
            "import.db", Password("their secret"), Kind::Done, none, none,
            QStringList(shifted).replaceInStrings("21:v1:", "21:" + looksSealed + ":") << "sealed 11", fifteen);
        row("encrypted, a value moved into another column", QString(ownRows),
            "encrypted;update content set value = title where id = 5", "import.db", Password("their secret"),
            Kind::Damaged, "%1 is damaged or cannot be read. Nothing was imported.",
            "a text of its content table is damaged", same, QStringList {"0/15", "2/15", "5/15"});
        row("encrypted, the own store's password typed", "encrypted;" + QString(ownRows), "encrypted", "import.db",
            Password("my secret"), Kind::WrongPassword, wrong, none, same, same);
        row("a wrong password", QString(ownRows), "", "import.db", Password("nine"), Kind::WrongPassword, wrong, none,
            same, same);
        row("a wrong-case password", QString(ownRows), "", "import.db", Password("None"), Kind::WrongPassword, wrong,
            none, same, same);
        row("an empty entry for an unset password", QString(ownRows), "", "import.db", Password(""),
            Kind::WrongPassword, wrong, none, same, same);
        row("the password not given", QString(ownRows), "", "import.db", Password(), Kind::Cancelled, none, none, same,
            same);
        row("an empty file", QString(ownRows), "empty", "import.db", Password(), Kind::NoStore, notStore, none, same,
            same);
        row("random bytes", QString(ownRows), "bytes:\x13\x87\xfe", "import.db", Password(), Kind::NoStore, notStore,
            "file is not a database Unable to execute statement", same, same);
        // Refused before any of it is read, the password included: a recursive view never ends.
        row("a view named option", QString(ownRows),
            "drop table option; create view option(id, password) as with recursive r(i) as "
            "(select 1 union all select i + 1 from r) select i, 'none' from r",
            "import.db", Password(), Kind::NotPlain, notPlain, none, same, same);
        row("a trigger", QString(ownRows), "raw:create trigger keep after delete on card begin select 1; end",
            "import.db", Password(), Kind::NotPlain, notPlain, none, same, same);
        row("a failing quick check", QString(ownRows), "damaged", "import.db", Password(), Kind::Damaged,
            "%1 is damaged or cannot be read. Nothing was imported.", "DAMAGED", same, same);
        row("no file", QString(ownRows), "none", "import.db", Password(), Kind::CannotOpen,
            "unable to open database file Error opening database",
            "unable to open database file Error opening database", same, same);
        row("held by another program", QString(ownRows), "locked", "import.db", Password(), Kind::Locked, inUse, locked,
            same, same);
        row("the open store held by another program", QString(ownRows), "own locked", "import.db", Password("none"),
            Kind::StoreInUse,
            "The store is in use by another program, so nothing was imported. Try again when that program has "
            "let go of it.",
            "database is locked Unable to fetch row", same, QStringList {"0/15"});
        // Found in the last table copied, past more cards than the table reads
        // at once: the rollback must take all and leave the table whole.
        row("a line of a card that is no number",
            "insert into category values(4, 'Web'); with recursive n(i) as (select 1 union all select i + 1 "
            "from n where i < 300) insert into card select i, 13, 'card ' || i, 4 from n",
            "update content set cardid = 'x' where id = 5", "import.db", Password("none"), Kind::IdsDoNotFit,
            "%1 holds ids that are not positive whole numbers, or that would grow too large beside the ids of "
            "this store. Nothing was imported.",
            "NOT NULL constraint failed: content.cardid Unable to fetch row", same,
            QStringList {"0/15", "2/15", "5/15"});
    }

    void importOutcome()
    {
        QFETCH(QString, own);
        QFETCH(QString, source);
        QFETCH(QString, file);
        QFETCH(Password, typed);
        QTemporaryDir files;
        const QString path = files.filePath(file);
        if (source == "empty" || source.startsWith("bytes:")) {
            QVERIFY(writeFile(path, source.mid(6).toLatin1().repeated(100)));
        } else if (source.startsWith("encrypted")) {
            writeEncryptedStore(path, "their secret");
            OtherProgram other(path);
            for (const QString &statement : source.mid(10).split(';', Qt::SkipEmptyParts))
                QVERIFY(other.exec(statement));
        } else if (source != "none" && file != "own") {
            const bool plain =
                source == "damaged" || source == "locked" || source.startsWith("raw:") || source == "own locked";
            writeStore(path, source == "damaged" ? QString(manyLines) : plain ? QString() : source);
        }
        if (source.startsWith("raw:"))
            QVERIFY(OtherProgram(path).exec(source.mid(4)));
        if (source == "damaged")
            TestStore::damageTable(path, "content");
        TestStore store(QString(own).remove("encrypted;"));
        if (own.startsWith("encrypted;"))
            TestStore::encrypt("my secret");
        std::optional<OtherProgram> holder;
        if (source == "locked")
            holder.emplace(path, "BEGIN EXCLUSIVE");
        if (source == "own locked")
            holder.emplace(store.filePath(), "BEGIN IMMEDIATE");
        const QString chosen = file == "own" ? store.filePath() : path;
        const QStringList rowsBefore = storeRows();
        QStringList heard;

        const TransferOutcome outcome = StoreImport::importStore(
            chosen, [typed]() { return typed; },
            [&heard](int copied, int total) { heard << QStringLiteral("%1/%2").arg(copied).arg(total); });

        QTEST(outcome.kind, "kind");
        QFETCH(QString, message);
        QCOMPARE(outcome.message(chosen), message.replace("%1", QDir::toNativeSeparators(chosen)));
        QFETCH(QString, detail);
        if (detail == "DAMAGED")
            QVERIFY2(outcome.detail.startsWith("*** in database main ***"), qPrintable(outcome.detail));
        else
            QCOMPARE(outcome.detail, detail);
        QFETCH(QStringList, rows);
        holder.reset();
        QCOMPARE(storeRows(), rows.isEmpty() ? rowsBefore : rows);
        QTEST(heard, "progress");
    }

    // The entry asks for the file and the password, and tells the outcome in
    // its box; after an import the filter menu and the card table show the
    // store's rows.
    void importAsksAndTells_data()
    {
        QTest::addColumn<QString>("source");
        // Typed into the password dialog and Return pressed; Escape when empty.
        QTest::addColumn<Password>("typed");
        // The box: its title and a part of its text.
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("progress");

        QTest::newRow("imported") << "" << Password("none") << "" << QStringList {"2/15", "5/15", "15/15"};
        QTest::newRow("cancelled") << "" << Password("") << "" << QStringList();
        QTest::newRow("a wrong password")
            << "" << Password("None") << "Passowrd Input: Incorrect password of Import Database." << QStringList();
        QTest::newRow("held by another program")
            << "locked" << Password() << "Import Database: let go of it.\ndatabase is locked" << QStringList();
        QTest::newRow("no file") << "none" << Password() << "Database Error: unable to open database file"
                                 << QStringList();
    }

    void importAsksAndTells()
    {
        QFETCH(QString, source);
        QFETCH(Password, typed);
        QFETCH(QString, box);
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("import.db"));
        if (source != "none")
            writeStore(path, QString());
        TestStore store(ownRows);
        std::optional<OtherProgram> holder;
        if (source == "locked")
            holder.emplace(path, "BEGIN EXCLUSIVE");
        MainWindow window;
        auto *model = qobject_cast<QSqlTableModel *>(window.findChild<QTableView *>("cardView")->model());
        QStringList progress;
        connect(&window, &MainWindow::setProgressValue, this, [&](int value) {
            progress << QStringLiteral("%1/%2").arg(value).arg(window.findChild<QProgressBar *>()->maximum());
        });

        const QString seen = runEntry(window, QStringLiteral("Import Data..."), path, typed, box);

        QCOMPARE(seen.section(": ", 0, 0), box.section(": ", 0, 0));
        QVERIFY2(seen.contains(box.section(": ", 1)), qPrintable(seen));
        QTEST(progress, "progress");
        QCOMPARE(categoryEntries(&window), storeRows().at(0));
        QCOMPARE(model->rowCount(), store.count(QStringLiteral("card")));
        QVERIFY(!window.findChild<QProgressBar *>());
    }

    void exportOutcome_data()
    {
        // The store: the sample rows, "encrypted" under "pw", or in write-ahead
        // logging with a row that another program keeps in the log.
        QTest::addColumn<QString>("store");
        // The target in a folder holding an older export, "own" for the open
        // store's file, "link" for a link to it.
        QTest::addColumn<QString>("target");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("message");
        // The copy: "same bytes" as the store, or its card names; "unchanged"
        // when the target must be as before.
        QTest::addColumn<QString>("copy");

        const QString itself = "%1 is the open store itself. Choose another file name.";
        // %2: why the file could not be written.
        const QString failed =
            "The store could not be exported to %1:\n%2\n\nA file that was there before is unchanged.";
        const auto row = [](const char *name, const QString &store, const QString &target, Kind kind,
                            const QString &message,
                            const QString &copy) { QTest::newRow(name) << store << target << kind << message << copy; };
        row("encrypted, over an older export", "encrypted", "export.db", Kind::Done, "", "same bytes");
        row("a new file", "", "new.db", Kind::Done, "", "same bytes");
        row("write-ahead log held by another program", "wal", "export.db", Kind::Done, "", "forum,savings,visa,latest");
        row("the open store itself", "", "own", Kind::OpenStoreItself, itself, "unchanged");
        row("a link to the open store", "", "link", Kind::OpenStoreItself, itself, "unchanged");
#ifdef Q_OS_UNIX
        row("into a folder that is not there", "", "gone/export.db", Kind::ExportFailed,
            failed.arg("%1", "No such file or directory"), "unchanged");
        row("past a file-size limit", "", "export.db", Kind::ExportFailed, failed.arg("%1", "File too large"),
            "unchanged");
#endif
    }

    void exportOutcome()
    {
        QFETCH(QString, store);
        QFETCH(QString, target);
        QFETCH(QString, copy);
        QTemporaryDir files;
        const QString older = files.filePath(QStringLiteral("export.db"));
        writeStore(older, "delete from card");
        QVERIFY(QFile::setPermissions(older, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        TestStore open(sampleRows);
        if (store == "encrypted")
            TestStore::encrypt("pw");
        std::optional<OtherProgram> reader;
        if (store == "wal") {
            open.exec("PRAGMA journal_mode = WAL");
            reader.emplace(open.filePath());
            // Its read keeps the log from being brought into the file.
            QVERIFY(reader->exec("insert into card values(9, 13, 'latest', 1)") && reader->exec("BEGIN")
                    && reader->exec("select count(*) from card"));
        }
        QString path = target == "own" ? open.filePath() : files.filePath(target);
        if (target == "link")
            QVERIFY(QFile::link(open.filePath(), path));
        const QByteArray storeBefore = readFile(open.filePath());
        const QByteArray targetBefore = readFile(path);
#ifdef Q_OS_UNIX
        // Root writes anywhere, so the copy is made to fail by a file-size limit.
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        // Past the limit a write fails instead of the signal ending the test.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small {1024, saved.rlim_max};
        if (QByteArray(QTest::currentDataTag()) == "past a file-size limit")
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
#endif

        const TransferOutcome outcome = StoreFile::copyOpenStore(path);

#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &saved);
#endif
        QTEST(outcome.kind, "kind");
        QFETCH(QString, message);
        QCOMPARE(outcome.message(path), message.replace("%1", QDir::toNativeSeparators(path)));
        QCOMPARE(readFile(open.filePath()), storeBefore);
        if (copy == "unchanged") {
            QCOMPARE(readFile(path), targetBefore);
            return;
        }
        QCOMPARE(QFileInfo(path).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        if (copy == "same bytes") {
            QCOMPARE(readFile(path), storeBefore);
        } else {
            QSqlDatabase exported = QSqlDatabase::addDatabase("QSQLITE", "exported");
            exported.setDatabaseName(path);
            QSqlQuery query(exported);
            QVERIFY(exported.open() && query.exec("select group_concat(name) from (select name from card order by id)")
                    && query.next());
            QCOMPARE(query.value(0).toString(), copy);
        }
        QSqlDatabase::removeDatabase("exported");
        // No temporary file stays beside it.
        QCOMPARE(QDir(files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                 target == "new.db" ? 2 : 1);
    }

    // The entry writes the edits typed before, gives a name without a suffix
    // the one the import offers, and tells a refusal.
    void exportAsksAndTells()
    {
        QTemporaryDir files;
        TestStore store(sampleRows);
        MainWindow window;
        auto *model = window.findChild<QTableView *>("cardView")->model();
        QVERIFY(model->setData(model->index(2, 2), QStringLiteral("typed")));

        runEntry(window, QStringLiteral("Export Data..."), files.filePath("backup"), Password(), "");

        QCOMPARE(store.value(QStringLiteral("select name from card where id = 3")).toString(), QStringLiteral("typed"));
        QCOMPARE(readFile(files.filePath("backup.db")), readFile(store.filePath()));
        QCOMPARE(runEntry(window, QStringLiteral("Export Data..."), store.filePath(), Password(), "Export Database: "),
                 "Export Database: " + QDir::toNativeSeparators(store.filePath())
                     + " is the open store itself. Choose another file name.");
        // Through the save dialog, as the user fills it in.
        window.transferFileName = nullptr;
        ModalAnswer save("Export Database", QMessageBox::NoButton, [&files](QWidget *modal) {
            qobject_cast<QFileDialog *>(modal)->selectFile(files.filePath("chosen"));
            qobject_cast<QDialog *>(modal)->accept();
        });
        trigger(&window, QStringLiteral("Export Data..."));
        QCOMPARE(readFile(files.filePath("chosen.db")), readFile(store.filePath()));
    }

    void csvImport_data()
    {
        QTest::addColumn<QByteArray>("csv");
        // The layout named in the preview, or the line of a refusal.
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QStringList>("cards");

        const QString own = QStringLiteral("Imported %1").arg(QDate::currentDate().toString(Qt::ISODate));
        QTest::newRow("Bitwarden, into an existing folder")
            << QByteArray("folder,favorite,type,name,notes,fields,reminder,login_uri,login_username,login_password,"
                          "login_totp\nWeb,1,login,Git,\"a, b\",PIN: 1234,,https://git.example.org,dev,hunter2,"
                          "JBSWY3DP\n,,note,Wi-Fi,\"SSID home\nkey 42\",,,,,,\n")
            << "Bitwarden"
            << QStringList {"18|Git|Web|Site Name=Git|Username=dev|Password=hunter2|URL=https://git.example.org"
                            "|Note=a, b|fields=PIN: 1234|login_totp=JBSWY3DP",
                            "10|Wi-Fi|" + own + "|Note=SSID home\nkey 42"};
        const QStringList none;
        QTest::newRow("a quote left open")
            << QByteArray("name,url,username,password\nx,u,n,p\n\ny,\"https://a,b,c\nz,u,n,p\n")
            << "Line 4: A quote opened" << none;
    }

    void csvImport()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, seen);
        QFETCH(QStringList, cards);
        TestStore store(ownRows);
        MainWindow window;
        const QStringList rowsBefore = storeRows();

        const QString told = importCsv(window, csv, cards.isEmpty());

        QVERIFY2(told.contains(seen), qPrintable(told));
        QCOMPARE(cardsAfter(7), cards);
        if (cards.isEmpty()) {
            QVERIFY2(told.contains("Nothing was imported."), qPrintable(told));
            QCOMPARE(storeRows(), rowsBefore);
        } else {
            QVERIFY2(told.contains("plain text"), qPrintable(told));
        }
        QCOMPARE(categoryEntries(&window),
                 store.value("select group_concat(id || ':' || name) from category").toString());
    }

    // What is exported comes back the same, in a store of its own.
    void csvExportImportsAgain()
    {
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("cards.csv"));
        QStringList exported;
        {
            TestStore store(
                "update option set password = 'pw';"
                "insert into category values(1, '工作'), (2, 'a,\"b\";c');"
                "insert into card values(1, 18, '邮箱', 1), (2, 5, 'visa \"gold\"', 2), (3, 13, 'empty', 2),"
                "(4, 10, 'lost', 9);"
                "insert into content values(1, 'Site Name', '', 1), (2, 'Password', 'p,w;\"x\"', 1),"
                "(3, 'Note', 'two\r\nlines\nmore', 1), (4, 'PIN', '0042', 2), (5, '', 'untitled', 2)");
            exported = cardsAfter(0);
            MainWindow window;
            window.transferFileName = [path](const QString &) { return path; };
            // The cards the table shows, or all of them: "&All Cards" is Yes.
            const auto exportCsv = [&window](QMessageBox::StandardButton which) {
                ModalAnswer login("Password Input", QMessageBox::NoButton, [](QWidget *modal) {
                    QTest::keyClicks(modal->findChild<QLineEdit *>(), "pw");
                    QTest::keyClick(modal->findChild<QLineEdit *>(), Qt::Key_Return);
                });
                ModalAnswer warning("Export CSV", which);
                ModalAnswer told("Export CSV");
                trigger(&window, "Export CSV...");
                return told.text;
            };
            typeFind(&window, "visa");
            QCOMPARE(exportCsv(QMessageBox::No), "Cards exported to " + QDir::toNativeSeparators(path) + ": 1.");
            QCOMPARE(exportCsv(QMessageBox::Yes), "Cards exported to " + QDir::toNativeSeparators(path) + ": 4.");
        }
        QCOMPARE(QFileInfo(path).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        TestStore fresh;
        MainWindow window;
        const QString told = importCsv(window, readFile(path));
        QVERIFY2(told.contains("will become cards: 4.") && told.contains("Cards imported from"), qPrintable(told));
        const QString own = QStringLiteral("Imported %1").arg(QDate::currentDate().toString(Qt::ISODate));
        exported.last().append(own);
        QCOMPARE(cardsAfter(0), exported);
        // A store that refuses the cards is told so, and keeps what it had.
        fresh.makeReadOnly();
        const QString refused = importCsv(window, readFile(path));
        QVERIFY2(refused.contains("The import failed and nothing was imported:\nattempt to write a readonly database"),
                 qPrintable(refused));
        QCOMPARE(cardsAfter(0), exported);
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
