// Export of the store and import of another store, driven through the
// "&Options" entries of a real main window over a temporary store.
#include "mainwindow/importlogin.h"
#include "mainwindow/mainwindow.h"
#include "modalanswer.h"
#include "teststore.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QtTest>

#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QStringList schema = {
    "CREATE TABLE category (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
    "CREATE TABLE card (id INTEGER PRIMARY KEY, type INTEGER NOT NULL, name VARCHAR(40) NOT NULL, "
    "categoryid INTEGER NOT NULL, FOREIGN KEY (categoryid) REFERENCES category)",
    "CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40) NOT NULL, value VARCHAR(100) NOT NULL, "
    "cardid INTEGER NOT NULL)",
    "create table option(id int primary key,language varchar(40), lastlang varchar(40), category int, "
    "password varchar(40))",
};

// Categories 1 and 2, cards 1 to 3, lines 1 to 10.
const QStringList sampleRows = {
    "insert into category values(1, 'Web')",
    "insert into category values(2, 'Bank')",
    "insert into card values(1, 18, 'forum', 1)",
    "insert into card values(2, 2, 'savings', 2)",
    "insert into card values(3, 5, 'visa', 2)",
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 10) "
    "insert into content select i, 'title ' || i, 'value ' || i, (i - 1) % 3 + 1 from n",
};

QString passwordRow(const QString &password)
{
    return QStringLiteral("insert into option values(1, 'none', 'none', -1, '%1')").arg(password);
}

// Runs the statements on a file of their own; the file is created when missing.
void writeFile(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (!query.exec(statement))
                qFatal("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
}

void writeStore(const QString &path, const QStringList &rows, const QString &password = QStringLiteral("secret"))
{
    writeFile(path, schema + QStringList{passwordRow(password)} + rows);
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Every row of category, card and content, one text per row.
QStringList storeRows()
{
    QStringList rows;
    QSqlQuery query;
    for (const char *table : {"category", "card", "content"}) {
        query.exec(QStringLiteral("select * from %1 order by id").arg(QLatin1String(table)));
        while (query.next()) {
            QStringList values;
            for (int column = 0; column < query.record().count(); ++column)
                values << query.value(column).toString();
            rows << QLatin1String(table) + QLatin1Char(':') + values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

// The texts of the per-category entries of "&Category".
QStringList categoryEntries(MainWindow &window)
{
    QStringList texts;
    for (QMenu *menu : window.findChildren<QMenu *>()) {
        if (menu->title() != QLatin1String("&Category"))
            continue;
        bool afterAll = false;
        for (QAction *action : menu->actions()) {
            if (afterAll)
                texts << action->text();
            afterAll = afterAll || action->text() == QLatin1String("&All");
        }
    }
    return texts;
}

int tableRows(MainWindow &window)
{
    auto *model = qobject_cast<QSqlTableModel *>(window.findChild<QTableView *>("cardView")->model());
    while (model->canFetchMore())
        model->fetchMore();
    return model->rowCount();
}

void triggerEntry(MainWindow &window, const QString &text)
{
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable(text + QLatin1String(" not found")));
}

struct ImportOutcome
{
    bool asked = false;
    std::shared_ptr<SeenBox> box = std::make_shared<SeenBox>();
};

enum class Expect { Password, PasswordThenBox, BoxOnly };

// Chooses `file` in "Import Data...", types `password` into the password
// dialog (or cancels it when there is none) and presses OK on a message box
// where one is expected.
std::shared_ptr<ImportOutcome> runImport(MainWindow &window, const QString &file,
                                         const std::optional<QString> &password, Expect expect)
{
    auto outcome = std::make_shared<ImportOutcome>();
    window.transferFileName = [file](const QString &caption) {
        return caption == QLatin1String("Import Database") ? file : QString();
    };
    if (expect == Expect::BoxOnly) {
        outcome->box = answerNextBox();
    } else {
        onNextModal([outcome, password, expect](QWidget *modal) {
            auto *login = qobject_cast<ImportLogin *>(modal);
            if (!login) {
                modal->close();
                return;
            }
            outcome->asked = true;
            if (expect == Expect::PasswordThenBox)
                outcome->box = answerNextBox();
            QPushButton *ok = nullptr;
            QPushButton *cancel = nullptr;
            for (QPushButton *button : login->findChildren<QPushButton *>()) {
                if (button->text() == QLatin1String("&OK"))
                    ok = button;
                else if (button->text() == QLatin1String("&Cancel"))
                    cancel = button;
            }
            if (password) {
                QTest::keyClicks(login->findChild<QLineEdit *>(), *password);
                QTest::mouseClick(ok, Qt::LeftButton);
            } else {
                QTest::mouseClick(cancel, Qt::LeftButton);
            }
        });
    }
    triggerEntry(window, QStringLiteral("Import Data..."));
    return outcome;
}

bool importConnectionGone()
{
    QSqlQuery query;
    query.exec(QStringLiteral("select count(*) from pragma_database_list where name = 'importdb'"));
    return query.next() && query.value(0).toInt() == 0 && !QSqlDatabase::contains(QStringLiteral("importdb"));
}

} // namespace

class TestStoreTransfer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void importShiftsIds_data();
    void importShiftsIds();
    void importSameFileTwice();
    void importOpenStoreItself_data();
    void importOpenStoreItself();
    void password_data();
    void password();
    void damagedFileRollsBack();
    void foreignFileRefused_data();
    void foreignFileRefused();
    void unshiftableIds_data();
    void unshiftableIds();
    void progressBarReachesTotal();
    void importWritesPendingEditsFirst();

    void exportCopiesStore_data();
    void exportCopiesStore();
    void failedExportKeepsOldFile();
    void exportOntoStoreItself();

private:
    QTemporaryDir files;
};

void TestStoreTransfer::init()
{
    QVERIFY(files.isValid());
}

void TestStoreTransfer::cleanup()
{
    for (const QString &name : entries(files.path()))
        QFile::remove(files.filePath(name));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestStoreTransfer::importShiftsIds_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("imported");

    const QStringList shiftedSample = {
        "category:1|Web", "category:2|Bank",
        "card:1|18|forum|1", "card:2|2|savings|2", "card:3|5|visa|2",
        "content:1|title 1|value 1|1", "content:2|title 2|value 2|2", "content:3|title 3|value 3|3",
        "content:4|title 4|value 4|1", "content:5|title 5|value 5|2", "content:6|title 6|value 6|3",
        "content:7|title 7|value 7|1", "content:8|title 8|value 8|2", "content:9|title 9|value 9|3",
        "content:10|title 10|value 10|1",
    };
    QTest::newRow("empty store keeps the ids") << QStringList() << "plain.db" << shiftedSample;

    // Largest ids 4, 7 and 20; the imported Web comes on top of the one already there.
    const QStringList existing = {
        "insert into category values(4, 'Web')",
        "insert into card values(7, 13, 'mine', 4)",
        "insert into content values(20, 'Password', 'x', 7)",
    };
    const QStringList shifted = {
        "category:5|Web", "category:6|Bank",
        "card:8|18|forum|5", "card:9|2|savings|6", "card:10|5|visa|6",
        "content:21|title 1|value 1|8", "content:22|title 2|value 2|9", "content:23|title 3|value 3|10",
        "content:24|title 4|value 4|8", "content:25|title 5|value 5|9", "content:26|title 6|value 6|10",
        "content:27|title 7|value 7|8", "content:28|title 8|value 8|9", "content:29|title 9|value 9|10",
        "content:30|title 10|value 10|8",
    };
    QTest::newRow("largest ids 4, 7, 20") << existing << "plain.db" << shifted;
    QTest::newRow("?, # and % in the file name") << existing << "odd?name#1%20.db" << shifted;
}

void TestStoreTransfer::importShiftsIds()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, fileName);
    QFETCH(QStringList, imported);

    TestStore store;
    for (const QString &statement : existing)
        store.exec(statement);
    const QString file = files.filePath(fileName);
    writeStore(file, sampleRows);
    const QByteArray hashBefore = fileHash(file);
    const QStringList filesBefore = entries(files.path());
    const QStringList rowsBefore = storeRows();
    MainWindow window;

    auto outcome = runImport(window, file, QStringLiteral("secret"), Expect::Password);
    QVERIFY(outcome->asked);

    QStringList expected = rowsBefore + imported;
    auto tableOf = [](const QString &row) { return row.section(QLatin1Char(':'), 0, 0); };
    std::stable_sort(expected.begin(), expected.end(), [&](const QString &a, const QString &b) {
        static const QStringList order = {"category", "card", "content"};
        return order.indexOf(tableOf(a)) < order.indexOf(tableOf(b));
    });
    QCOMPARE(storeRows(), expected);
    QStringList names;
    QSqlQuery query(QStringLiteral("select name from category order by id"));
    while (query.next())
        names << query.value(0).toString();
    QCOMPARE(categoryEntries(window), names);
    QCOMPARE(tableRows(window), store.count(QStringLiteral("card")));

    // The chosen file is only read.
    QCOMPARE(fileHash(file), hashBefore);
    QCOMPARE(entries(files.path()), filesBefore);
    QVERIFY(importConnectionGone());
}

void TestStoreTransfer::importSameFileTwice()
{
    TestStore store;
    const QString file = files.filePath(QStringLiteral("twice.db"));
    // More cards than the card table reads at once after the first import.
    writeStore(file, sampleRows + QStringList{QStringLiteral(
        "with recursive n(i) as (select 4 union all select i + 1 from n where i < 300) "
        "insert into card select i, 13, 'extra', 1 from n")});
    MainWindow window;

    runImport(window, file, QStringLiteral("secret"), Expect::Password);
    QVERIFY(importConnectionGone());
    runImport(window, file, QStringLiteral("secret"), Expect::Password);

    QCOMPARE(store.count(QStringLiteral("category")), 4);
    QCOMPARE(store.count(QStringLiteral("card")), 600);
    QCOMPARE(store.count(QStringLiteral("content")), 20);
    QCOMPARE(store.value(QStringLiteral("select group_concat(categoryid) from card where id between 301 and 304"))
                 .toString(),
             QStringLiteral("3,4,4,3"));
    QCOMPARE(store.value(QStringLiteral("select sum(cardid) from content where id > 10")).toInt(),
             store.value(QStringLiteral("select sum(cardid) + 300 * 10 from content where id <= 10")).toInt());
    QCOMPARE(categoryEntries(window), QStringList({"Web", "Bank", "Web", "Bank"}));
    QCOMPARE(tableRows(window), 600);
    QVERIFY(importConnectionGone());
}

void TestStoreTransfer::importOpenStoreItself_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("its own path") << false;
    QTest::newRow("a link to it") << true;
}

void TestStoreTransfer::importOpenStoreItself()
{
    QFETCH(bool, throughLink);
    TestStore store;
    for (const QString &statement : sampleRows)
        store.exec(statement);
    QString file = store.filePath();
    if (throughLink) {
        file = files.filePath(QStringLiteral("link.db"));
        QVERIFY(QFile::link(store.filePath(), file));
    }
    // The temporary copy goes to TMPDIR and must not stay there.
    QTemporaryDir tmp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toLocal8Bit());
    MainWindow window;

    auto outcome = runImport(window, file, QStringLiteral("none"), Expect::Password);
    qputenv("TMPDIR", oldTmp);

    QVERIFY(outcome->asked);
    QCOMPARE(store.count(QStringLiteral("category")), 4);
    QCOMPARE(store.count(QStringLiteral("card")), 6);
    QCOMPARE(store.count(QStringLiteral("content")), 20);
    QCOMPARE(store.value(QStringLiteral("select group_concat(categoryid) from card where id > 3")).toString(),
             QStringLiteral("3,4,4"));
    QCOMPARE(tableRows(window), 6);
    QCOMPARE(entries(tmp.path()), QStringList());
    QVERIFY(importConnectionGone());
}

void TestStoreTransfer::password_data()
{
    QTest::addColumn<std::optional<QString>>("stored");
    QTest::addColumn<std::optional<QString>>("typed");
    QTest::addColumn<bool>("imported");

    using P = std::optional<QString>;
    QTest::newRow("right password") << P("secret") << P("secret") << true;
    QTest::newRow("wrong case") << P("secret") << P("Secret") << false;
    QTest::newRow("unset: none typed") << P("none") << P("none") << true;
    QTest::newRow("unset: empty entry") << P("none") << P("") << false;
    QTest::newRow("no settings row: empty entry") << P() << P("") << true;
    QTest::newRow("no settings row: none typed") << P() << P("none") << false;
    QTest::newRow("cancelled") << P("secret") << P() << false;
}

void TestStoreTransfer::password()
{
    QFETCH(std::optional<QString>, stored);
    QFETCH(std::optional<QString>, typed);
    QFETCH(bool, imported);

    TestStore store;
    store.exec(QStringLiteral("insert into category values(1, 'Mine')"));
    store.exec(QStringLiteral("insert into card values(1, 13, 'mine', 1)"));
    const QString file = files.filePath(QStringLiteral("other.db"));
    if (stored)
        writeStore(file, sampleRows, *stored);
    else
        writeFile(file, schema + sampleRows);
    const QStringList rowsBefore = storeRows();
    MainWindow window;

    const bool refusedByPassword = typed && !imported;
    auto outcome = runImport(window, file, typed, refusedByPassword ? Expect::PasswordThenBox : Expect::Password);

    QVERIFY(outcome->asked);
    QCOMPARE(store.count(QStringLiteral("card")), imported ? 4 : 1);
    QCOMPARE(categoryEntries(window), imported ? QStringList({"Mine", "Web", "Bank"}) : QStringList({"Mine"}));
    QCOMPARE(tableRows(window), imported ? 4 : 1);
    if (!imported)
        QCOMPARE(storeRows(), rowsBefore);
    QCOMPARE(outcome->box->seen, refusedByPassword);
    if (refusedByPassword) {
        QCOMPARE(outcome->box->title, QStringLiteral("Passowrd Input"));
        QCOMPARE(outcome->box->text, QStringLiteral("Incorrect password of Import Database."));
    }
    QVERIFY(importConnectionGone());
}

void TestStoreTransfer::damagedFileRollsBack()
{
    TestStore store;
    store.exec(QStringLiteral("insert into category values(4, 'Web')"));
    // More cards than the table reads at once: a rollback must not cut the table short.
    store.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 300) "
                              "insert into card select i, 13, 'card ' || i, 4 from n"));
    const QString file = files.filePath(QStringLiteral("damaged.db"));
    QStringList damaged = schema;
    damaged.replace(2, QStringLiteral("CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40), "
                                      "value VARCHAR(100), cardid INTEGER)"));
    writeFile(file, damaged + QStringList{passwordRow(QStringLiteral("secret"))} + sampleRows
                        + QStringList{QStringLiteral("update content set value = null where id = 5")});
    const QStringList rowsBefore = storeRows();
    MainWindow window;

    auto outcome = runImport(window, file, QStringLiteral("secret"), Expect::PasswordThenBox);

    QVERIFY(outcome->box->seen);
    QCOMPARE(outcome->box->title, QStringLiteral("Import Database"));
    QVERIFY2(outcome->box->text.contains(QLatin1String("NOT NULL")), qPrintable(outcome->box->text));
    QCOMPARE(storeRows(), rowsBefore);
    QCOMPARE(categoryEntries(window), QStringList({"Web"}));
    QCOMPARE(tableRows(window), 300);
    QVERIFY(importConnectionGone());
}

void TestStoreTransfer::foreignFileRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::newRow("random bytes") << "random" << "Import Database";
    QTest::newRow("empty file") << "empty" << "Import Database";
    QTest::newRow("database without the tables") << "foreign" << "Import Database";
    QTest::newRow("store without content") << "partial" << "Import Database";
    QTest::newRow("no such file") << "missing" << "Database Error";
}

void TestStoreTransfer::foreignFileRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);

    TestStore store;
    store.exec(QStringLiteral("insert into category values(1, 'Mine')"));
    const QString file = files.filePath(QStringLiteral("foreign.db"));
    if (kind == QLatin1String("random") || kind == QLatin1String("empty")) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QRandomGenerator random(7);
        for (int i = 0; kind == QLatin1String("random") && i < 4096; ++i)
            out.putChar(char(random.bounded(256)));
    } else if (kind == QLatin1String("foreign")) {
        writeFile(file, {QStringLiteral("create table notes (id integer, text varchar)")});
    } else if (kind == QLatin1String("partial")) {
        writeFile(file, schema.mid(0, 2) + QStringList{schema.at(3), passwordRow(QStringLiteral("x"))});
    }
    const QByteArray hashBefore = fileHash(file);
    const QStringList filesBefore = entries(files.path());
    const QStringList rowsBefore = storeRows();
    MainWindow window;

    auto outcome = runImport(window, file, QString(), Expect::BoxOnly);

    QVERIFY(outcome->box->seen);
    QCOMPARE(outcome->box->title, title);
    QCOMPARE(storeRows(), rowsBefore);
    QCOMPARE(categoryEntries(window), QStringList({"Mine"}));
    QCOMPARE(fileHash(file), hashBefore);
    QCOMPARE(entries(files.path()), filesBefore);
    QVERIFY(importConnectionGone());
}

void TestStoreTransfer::unshiftableIds_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("accepted");
    // The store already holds ids up to 4 (category), 7 (card) and 20 (content).
    QTest::newRow("category id 0") << "insert into category values(0, 'Zero')" << false;
    QTest::newRow("negative card id") << "insert into card values(-3, 13, 'minus', 1)" << false;
    QTest::newRow("card id beyond int") << "insert into card values(3000000000, 13, 'big', 1)" << false;
    QTest::newRow("line id overflows when shifted") << "insert into content values(2147483640, 't', 'v', 1)"
                                                   << false;
    QTest::newRow("line id just fits when shifted") << "insert into content values(2147483627, 't', 'v', 1)"
                                                   << true;
    QTest::newRow("category reference not a number") << "insert into card values(9, 13, 'odd', 'x')" << false;
    QTest::newRow("card reference overflows when shifted")
        << "insert into content values(11, 't', 'v', 2147483641)" << false;
}

void TestStoreTransfer::unshiftableIds()
{
    QFETCH(QString, row);
    QFETCH(bool, accepted);

    TestStore store;
    store.exec(QStringLiteral("insert into category values(4, 'Web')"));
    store.exec(QStringLiteral("insert into card values(7, 13, 'mine', 4)"));
    store.exec(QStringLiteral("insert into content values(20, 'Password', 'x', 7)"));
    const QString file = files.filePath(QStringLiteral("ids.db"));
    writeStore(file, sampleRows + QStringList{row});
    const QStringList rowsBefore = storeRows();
    MainWindow window;

    auto outcome = runImport(window, file, QStringLiteral("secret"), accepted ? Expect::Password : Expect::BoxOnly);

    QCOMPARE(outcome->box->seen, !accepted);
    if (accepted) {
        QCOMPARE(store.value(QStringLiteral("select max(id) from content")).toLongLong(), qint64(INT_MAX));
    } else {
        QCOMPARE(outcome->box->title, QStringLiteral("Import Database"));
        QCOMPARE(storeRows(), rowsBefore);
    }
}

void TestStoreTransfer::progressBarReachesTotal()
{
    TestStore store;
    const QString file = files.filePath(QStringLiteral("progress.db"));
    writeStore(file, sampleRows);
    MainWindow window;
    window.resize(600, 400);
    window.show();

    QList<int> values;
    QList<int> maxima;
    QList<QRect> places;
    connect(&window, &MainWindow::setProgressValue, this, [&](int value) {
        auto *bar = window.findChild<QProgressBar *>();
        QVERIFY(bar && bar->isVisible());
        values << value;
        maxima << bar->maximum();
        places << bar->geometry();
    });

    runImport(window, file, QStringLiteral("secret"), Expect::Password);

    // Table by table: 2 categories, 3 cards, 10 lines.
    QCOMPARE(values, QList<int>({2, 5, 15}));
    QCOMPARE(maxima, QList<int>({15, 15, 15}));
    QCOMPARE(places.value(0), QRect(150, 200, 300, 30));
    QVERIFY(!window.findChild<QProgressBar *>());
}

void TestStoreTransfer::importWritesPendingEditsFirst()
{
    TestStore store;
    for (const QString &statement : sampleRows)
        store.exec(statement);
    const QString file = files.filePath(QStringLiteral("other.db"));
    writeStore(file, sampleRows);
    MainWindow window;
    auto *view = window.findChild<QTableView *>("cardView");
    QVERIFY(view->model()->setData(view->model()->index(0, 2), QStringLiteral("typed just now")));

    runImport(window, file, QStringLiteral("secret"), Expect::Password);

    QCOMPARE(store.value(QStringLiteral("select name from card where id = 1")).toString(),
             QStringLiteral("typed just now"));
    QCOMPARE(view->model()->index(0, 2).data().toString(), QStringLiteral("typed just now"));
    QCOMPARE(store.count(QStringLiteral("card")), 6);
}

void TestStoreTransfer::exportCopiesStore_data()
{
    QTest::addColumn<QByteArray>("oldContent");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("new file") << QByteArray() << false;
    QTest::newRow("replaces an existing file") << QByteArray("an older export") << false;
    QTest::newRow("cancelled") << QByteArray("an older export") << true;
}

void TestStoreTransfer::exportCopiesStore()
{
    QFETCH(QByteArray, oldContent);
    QFETCH(bool, cancelled);

    TestStore store;
    for (const QString &statement : sampleRows)
        store.exec(statement);
    const QString target = files.filePath(QStringLiteral("export.db"));
    if (!oldContent.isEmpty()) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(oldContent);
    }
    MainWindow window;
    auto *view = window.findChild<QTableView *>("cardView");
    QVERIFY(view->model()->setData(view->model()->index(2, 2), QStringLiteral("typed just now")));
    QString caption;
    window.transferFileName = [&](const QString &asked) {
        caption = asked;
        return cancelled ? QString() : target;
    };

    triggerEntry(window, QStringLiteral("Export Data..."));

    QCOMPARE(caption, QStringLiteral("Export Database"));
    QFile exported(target);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    if (cancelled) {
        QCOMPARE(exported.readAll(), oldContent);
    } else {
        // The edit reached the store before the copy was taken.
        QCOMPARE(store.value(QStringLiteral("select name from card where id = 3")).toString(),
                 QStringLiteral("typed just now"));
        QFile original(store.filePath());
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(exported.readAll(), original.readAll());
    }
    QCOMPARE(entries(files.path()), QStringList({"export.db"}));
}

void TestStoreTransfer::failedExportKeepsOldFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file-size limit");
#else
    TestStore store;
    for (const QString &statement : sampleRows)
        store.exec(statement);
    const QString target = files.filePath(QStringLiteral("export.db"));
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    MainWindow window;
    window.transferFileName = [&](const QString &) { return target; };
    QVERIFY(QFileInfo(store.filePath()).size() > 1024);

    // Root writes anywhere, so the copy is made to fail by a file-size limit.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    auto *oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    auto box = answerNextBox();
    triggerEntry(window, QStringLiteral("Export Data..."));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(box->seen);
    QCOMPARE(box->title, QStringLiteral("Export Database"));
    QFile old(target);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(entries(files.path()), QStringList({"export.db"}));
#endif
}

void TestStoreTransfer::exportOntoStoreItself()
{
    TestStore store;
    for (const QString &statement : sampleRows)
        store.exec(statement);
    const QByteArray hashBefore = fileHash(store.filePath());
    MainWindow window;
    window.transferFileName = [&](const QString &) { return store.filePath(); };

    auto box = answerNextBox();
    triggerEntry(window, QStringLiteral("Export Data..."));

    QVERIFY(box->seen);
    QCOMPARE(fileHash(store.filePath()), hashBefore);
    // The store is still the open file: writes reach it.
    store.exec(QStringLiteral("insert into category values(9, 'After')"));
    QCOMPARE(store.count(QStringLiteral("category")), 3);
}

QTEST_MAIN(TestStoreTransfer)
#include "tst_storetransfer.moc"
