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

// The cards after id 7 as "id:type|name|categoryid:category|title=value|...",
// lines in id order.
QStringList newCards()
{
    QSqlQuery query;
    query.exec("select c.id || ':' || c.type || '|' || c.name || '|' || c.categoryid || ':' || g.name || "
               "coalesce((select group_concat('|' || title || '=' || value, '') from (select * from content "
               "where cardid = c.id order by id)), '') from card c join category g on g.id = c.categoryid "
               "where c.id > 7 order by c.id");
    QStringList cards;
    while (query.next())
        cards << query.value(0).toString();
    return cards;
}

// Cards, categories and lines by what they hold, ids left out.
QString cardContents(const TestStore &store)
{
    return store
        .value("select group_concat(card, char(10)) from (select c.type || '|' || c.name || '|' || "
               "coalesce(g.name, '') || coalesce((select group_concat('|' || title || '=' || value, '') from "
               "(select * from content where cardid = c.id order by id)), '') as card from card c left join "
               "category g on g.id = c.categoryid order by c.id)")
        .toString();
}

// Imports the CSV text through "Import CSV...", confirming the preview;
// the preview's summary and the last box's text.
QString importCsv(MainWindow &window, const QByteArray &csv, bool refused = false)
{
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("passwords.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size())
        return "not written";
    file.close();
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
               "when that program has let go of it.\ndatabase is locked"
            << same;
        // Refused before any of it is read, the password included: a recursive view never ends.
        QTest::newRow("a view named option")
            << QString(ownRows)
            << "drop table option; create view option(id, password) as with recursive r(i) as "
               "(select 1 union all select i + 1 from r) select i, 'none' from r"
            << Password() << "Import Database: holds views or triggers" << same;
        QTest::newRow("a trigger") << QString(ownRows)
                                   << "raw:create trigger keep after delete on card begin select 1; end" << Password()
                                   << "Import Database: holds views or triggers" << same;
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

    void csvImport_data()
    {
        QTest::addColumn<QByteArray>("csv");
        // The layout named in the preview, or the line of a refusal.
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QStringList>("cards");

        const QString own = QStringLiteral("5:Imported %1").arg(QDate::currentDate().toString(Qt::ISODate));
        QTest::newRow("Chrome, with a byte-order mark")
            << QByteArray("\xef\xbb\xbfname,url,username,password,note\r\n"
                          "银行,https://bank.example.cn/login,张三,\"p,w\"\"1\",\"two\r\nlines\"\r\n")
            << "Chrome or Edge"
            << QStringList {"8:18|银行|" + own
                            + "|Site Name=银行|Username=张三|Password=p,w\"1|URL=https://bank.example.cn/login"
                              "|Note=two\r\nlines"};
        QTest::newRow("Firefox, named by the host")
            << QByteArray("url,username,password,httpRealm,formActionOrigin,guid,timeCreated,timeLastUsed,"
                          "timePasswordChanged\nhttps://www.example.com/a,ann,secret,,https://www.example.com,"
                          "{a1},1700000000000,1700000000000,1700000000000\n")
            << "Firefox"
            << QStringList {"8:18|www.example.com|" + own
                            + "|Username=ann|Password=secret|URL=https://www.example.com/a"};
        QTest::newRow("Safari") << QByteArray(
            "Title,URL,Username,Password,Notes,OTPAuth\n邮箱 (mail),https://mail.example.com/,"
            "bob,pw,,otpauth://totp/x?secret=ABC\n")
                                << "Safari"
                                << QStringList {"8:18|邮箱 (mail)|" + own
                                                + "|Site Name=邮箱 (mail)|Username=bob|Password=pw"
                                                  "|URL=https://mail.example.com/|OTPAuth=otpauth://totp/x?secret=ABC"};
        QTest::newRow("Bitwarden, into an existing folder")
            << QByteArray("folder,favorite,type,name,notes,fields,reminder,login_uri,login_username,login_password,"
                          "login_totp\nWeb,1,login,Git,\"a, b\",PIN: 1234,,https://git.example.org,dev,hunter2,"
                          "JBSWY3DP\n,,note,Wi-Fi,\"SSID home\nkey 42\",,,,,,\n")
            << "Bitwarden"
            << QStringList {"8:18|Git|4:Web|Site Name=Git|Username=dev|Password=hunter2|URL=https://git.example.org"
                            "|Note=a, b|fields=PIN: 1234|login_totp=JBSWY3DP",
                            "9:10|Wi-Fi|" + own + "|Note=SSID home\nkey 42"};
        QTest::newRow("LastPass, a secure note")
            << QByteArray("url,username,password,totp,extra,name,grouping,fav\nhttps://shop.example,carol,pw1,,,"
                          "Shop,购物,0\nhttp://sn,,,,\"NoteType:Server\nHostname:db\",Server notes,购物,0\n")
            << "LastPass"
            << QStringList {"8:18|Shop|5:购物|Site Name=Shop|Username=carol|Password=pw1|URL=https://shop.example",
                            "9:10|Server notes|5:购物|Note=NoteType:Server\nHostname:db"};
        QTest::newRow("KeePassXC") << QByteArray(
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
            "\"Last Modified\",\"Created\"\n\"Root/邮件\",\"Mail\",\"dan\",\"x\"\"y\",\"\",\"\",\"\","
            "\"0\",\"2024-01-01T00:00:00Z\",\"2024-01-01T00:00:00Z\"\n")
                                   << "KeePassXC"
                                   << QStringList {"8:18|Mail|5:Root/邮件|Site Name=Mail|Username=dan|Password=x\"y"};
        QTest::newRow("any header, with semicolons")
            << QByteArray("Title;Login;Password;Website;Security question\nForum;eve;pw;forum.example;\"Pet; Rex\"\n")
            << "CSV with a header row"
            << QStringList {"8:18|Forum|" + own
                            + "|Site Name=Forum|Username=eve|Password=pw|URL=forum.example|Security question=Pet; Rex"};
        const QStringList none;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << "Line 3: The file is not text." << none;
        QTest::newRow("no known header") << QByteArray("a,b,c\n1,2,3\n") << "Line 1: This is no header" << none;
        QTest::newRow("a quote left open")
            << QByteArray("name,url,username,password\nx,u,n,p\n\ny,\"https://a,b,c\nz,u,n,p\n")
            << "Line 4: A quote opened" << none;
        QTest::newRow("more fields than the header")
            << QByteArray("name,url,username,password\r\nx,u,n,p\r\ny,u,n,p,q\r\n") << "Line 3: This row has 5 fields"
            << none;
    }

    void csvImport()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, seen);
        QFETCH(QStringList, cards);
        TestStore store(ownRows);
        MainWindow window;
        const QStringList rowsBefore = storeRows(store);

        const QString told = importCsv(window, csv, cards.isEmpty());

        QVERIFY2(told.contains(seen), qPrintable(told));
        QCOMPARE(newCards(), cards);
        if (cards.isEmpty()) {
            QVERIFY2(told.contains("Nothing was imported."), qPrintable(told));
            QCOMPARE(storeRows(store), rowsBefore);
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
        QString exported;
        {
            TestStore store(
                "update option set password = 'pw';"
                "insert into category values(1, '工作'), (2, 'a,\"b\";c');"
                "insert into card values(1, 18, '邮箱', 1), (2, 5, 'visa \"gold\"', 2), (3, 13, 'empty', 2),"
                "(4, 10, 'lost', 9);"
                "insert into content values(1, 'Site Name', '', 1), (2, 'Password', 'p,w;\"x\"', 1),"
                "(3, 'Note', 'two\r\nlines\nmore', 1), (4, 'PIN', '0042', 2), (5, '', 'untitled', 2)");
            exported = cardContents(store);
            MainWindow window;
            window.transferFileName = [path](const QString &) { return path; };
            ModalAnswer login("Password Input", QMessageBox::NoButton, [](QWidget *modal) {
                QTest::keyClicks(modal->findChild<QLineEdit *>(), "pw");
                QTest::keyClick(modal->findChild<QLineEdit *>(), Qt::Key_Return);
            });
            ModalAnswer warning("Export CSV", QMessageBox::Yes);
            ModalAnswer told("Export CSV");
            trigger(&window, "Export CSV...");
            QCOMPARE(told.text, "Cards exported to " + QDir::toNativeSeparators(path) + ": 4.");
        }
        QCOMPARE(QFileInfo(path).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        TestStore fresh;
        MainWindow window;
        const QString told = importCsv(window, file.readAll());
        QVERIFY2(told.contains("will become cards: 4.") && told.contains("Cards imported from"), qPrintable(told));
        const QString own = QStringLiteral("Imported %1").arg(QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(cardContents(fresh), QString(exported).replace("10|lost|", "10|lost|" + own));
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
        // A store another tool switched to write-ahead logging: its latest row is in the copy.
        store.exec("PRAGMA journal_mode = WAL; insert into card values(9, 13, 'latest', 1)");
        QVERIFY(QFileInfo(store.filePath() + "-wal").size() > 0);
        runEntry(window, QStringLiteral("Export Data..."), target, Password(), "");
        QVERIFY(!QFile::exists(target + "-wal"));
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
