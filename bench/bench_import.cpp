// Imports a store of 100 categories, 100,000 cards and 1,000,000 lines
// through the "Import Data..." entry, and the same merge with the sqlite3
// shell on copies of the same files. The shell's time is the sum of the
// times it reports for its statements: its own start-up is not counted.
// Beside the entry's total: the copy (from the first slice's progress to the
// last) and the card table read again as the import does at its end. Then
// the same import into an encrypted store, from the plain file and from an
// encrypted one, against the plain import (budget: 3 times as long).
#include "mainwindow/importlogin.h"
#include "mainwindow/mainwindow.h"
#include "store/keyenvelope.h"
#include "store/storeencryption.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

// Every thousandth card has no category, every thousandth line no card.
const char *const fillStatements[] = {
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100) "
    "insert into category select i, 'category ' || i from n",
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
    "insert into card select i, i % 18 + 1, 'card ' || i, case when i % 1000 then (i - 1) / 1000 + 1 else 0 end "
    "from n",
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000000) "
    "insert into content select i, 'Password', 'value ' || i, case when i % 1000 then (i - 1) / 10 + 1 else 0 end "
    "from n",
};

bool runShell(const QString &database, const QByteArray &script, QByteArray *output = nullptr)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), database});
    if (!shell.waitForStarted())
        return false;
    shell.write(script);
    shell.closeWriteChannel();
    const bool ok =
        shell.waitForFinished(120000) && shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0;
    if (output)
        *output = shell.readAllStandardOutput();
    if (!ok)
        std::fprintf(stderr, "sqlite3: %s\n", shell.readAllStandardError().constData());
    return ok;
}

// The sum of the "Run Time: real" figures that ".timer on" prints.
double shellMs(const QByteArray &output)
{
    static const QRegularExpression runTime(QStringLiteral("Run Time: real ([0-9.]+)"));
    double seconds = 0;
    for (auto match = runTime.globalMatch(QString::fromUtf8(output)); match.hasNext();)
        seconds += match.next().captured(1).toDouble();
    return seconds * 1000;
}

// What both merges must agree on: each table's rows, and how many cards
// and lines still point at the category and card they had in their own store.
QString summary(const QSqlDatabase &db)
{
    QStringList parts;
    for (const char *statement : {"select count(*), sum(id), sum(length(name)) from category",
                                  "select count(*), sum(id), sum(type), sum(categoryid), sum(length(name)) from card",
                                  "select count(*), sum(id), sum(cardid), sum(length(value)) from content",
                                  "select count(*) from card c join category g on g.id = c.categoryid "
                                  "where (substr(c.name, 6) - 1) / 1000 + 1 = substr(g.name, 10) + 0",
                                  "select count(*) from content l join card c on c.id = l.cardid "
                                  "where (substr(l.value, 7) - 1) / 10 + 1 = substr(c.name, 6) + 0"}) {
        QSqlQuery query(db);
        if (!query.exec(QLatin1String(statement)) || !query.next())
            return QString();
        for (int column = 0; column < query.record().count(); ++column)
            parts << query.value(column).toString();
    }
    return parts.join(QLatin1Char(','));
}

// Types the password into the import's dialog as soon as it is up.
void answerPassword(const QString &password)
{
    auto *timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, password]() {
        auto *login = qobject_cast<ImportLogin *>(QApplication::activeModalWidget());
        if (!login)
            return;
        login->findChild<QLineEdit *>()->setText(password);
        login->accept();
        timer->deleteLater();
    });
    timer->start();
}

QAction *importEntry(MainWindow &window)
{
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text() == QLatin1String("Import Data..."))
            return action;
    }
    return nullptr;
}

struct ImportTimes
{
    qint64 total = -1;
    qint64 copy = 0;
    qint64 reread = 0;
};

// Imports `file` into the open store through the entry, typing `password`.
ImportTimes timeImport(const QString &file, const QString &password)
{
    ImportTimes times;
    MainWindow window;
    window.transferFileName = [&file](const QString &) { return file; };
    QAction *entry = importEntry(window);
    if (!entry)
        return times;
    QElapsedTimer clock;
    qint64 firstSlice = -1;
    qint64 lastSlice = 0;
    QObject::connect(&window, &MainWindow::setProgressValue, [&](int) {
        lastSlice = clock.elapsed();
        if (firstSlice < 0)
            firstSlice = lastSlice;
    });
    answerPassword(password);
    clock.start();
    entry->trigger();
    times.total = clock.elapsed();
    times.copy = lastSlice - firstSlice;
    // What the import does once the rows are in.
    clock.restart();
    window.clearCategoryActions();
    window.loadCategoryActions();
    times.reread = clock.elapsed();
    return times;
}

void printTimes(const char *name, const ImportTimes &times)
{
    std::printf("%s_ms: %lld\n%s_copy_ms: %lld\n%s_reread_ms: %lld\n", name, static_cast<long long>(times.total), name,
                static_cast<long long>(times.copy), name, static_cast<long long>(times.reread));
}

// The open store filled as the file to import, encrypted under `password`.
bool fillEncrypted(const QString &password)
{
    QSqlQuery query;
    for (const char *statement : fillStatements) {
        if (!query.exec(QLatin1String(statement)))
            return false;
    }
    bool compacted = false;
    QString error;
    return StoreEncryption::encrypt(
        password, [](int, int) {}, &compacted, &error);
}

// Into an encrypted store: every row arrives, its texts sealed.
bool importedEncrypted()
{
    QSqlQuery query(QStringLiteral("select count(*), sum(value like 'nimbrel-sealed:%') from content"));
    return query.next() && query.value(0).toInt() == 2000000 && query.value(1).toInt() == 2000000;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    const QString importFile = work.filePath(QStringLiteral("import.db"));
    const QString encryptedFile = work.filePath(QStringLiteral("encrypted.db"));
    const QString shellStore = work.filePath(QStringLiteral("shell.dat"));
    // Key derivation at the smallest cost, as the tests have it: the figures are the copy's.
    KeyEnvelope::setLimits(KeyEnvelope::smallestLimits());
    // The file to import, encrypted under "bench".
    {
        TestStore encrypted;
        if (!fillEncrypted(QStringLiteral("bench")) || !QFile::copy(encrypted.filePath(), encryptedFile))
            return 1;
    }

    // The file to import, with the store's schema and a password.
    QByteArray schema = "CREATE TABLE category (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL);\n"
                        "CREATE TABLE card (id INTEGER PRIMARY KEY, type INTEGER NOT NULL, name VARCHAR(40) "
                        "NOT NULL, categoryid INTEGER NOT NULL, FOREIGN KEY (categoryid) REFERENCES category);\n"
                        "CREATE TABLE content (id INTEGER PRIMARY KEY, title VARCHAR(40) NOT NULL, value "
                        "VARCHAR(100) NOT NULL, cardid INTEGER NOT NULL);\n"
                        "create table option(id int primary key,language varchar(40), lastlang varchar(40), "
                        "category int, password varchar(40));\n"
                        "insert into option values(1, 'none', 'none', -1, 'bench');\nbegin;\n";
    for (const char *statement : fillStatements)
        schema += QByteArray(statement) + ";\n";
    if (!runShell(importFile, schema + "commit;\n"))
        return 1;

    // The open store holds as much again, so every id is shifted.
    std::optional<TestStore> store(std::in_place);
    for (const char *statement : fillStatements)
        store->exec(QLatin1String(statement));
    if (!QFile::copy(store->filePath(), shellStore))
        return 1;

    const ImportTimes plain = timeImport(importFile, QStringLiteral("bench"));
    if (plain.total < 0)
        return 1;

    const QByteArray merge = ".timer on\n"
                             "ATTACH 'file:"
        + importFile.toUtf8()
        + "?mode=ro' AS importdb;\n"
          "BEGIN;\n"
          "INSERT INTO category SELECT id + 100, name FROM importdb.category;\n"
          "INSERT INTO card SELECT id + 100000, type, name, "
          "categoryid + CASE WHEN categoryid > 0 THEN 100 ELSE 0 END FROM importdb.card;\n"
          "INSERT INTO content SELECT id + 1000000, title, value, "
          "cardid + CASE WHEN cardid > 0 THEN 100000 ELSE 0 END FROM importdb.content;\n"
          "COMMIT;\n"
          "DETACH importdb;\n";
    QByteArray shellOutput;
    if (!runShell(shellStore, merge, &shellOutput))
        return 1;
    const double sqliteMs = shellMs(shellOutput);

    const QString imported = summary(QSqlDatabase::database());
    QString merged;
    {
        QSqlDatabase shellDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("shell"));
        shellDb.setDatabaseName(shellStore);
        if (shellDb.open())
            merged = summary(shellDb);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("shell"));
    // Twice the rows, and all of them but the thousandths without a reference in place.
    if (imported.isEmpty() || imported != merged || !imported.endsWith(QLatin1String(",199800,1998000"))) {
        std::fprintf(stderr, "the import differs from the shell's merge:\n%s\n%s\n", qPrintable(imported),
                     qPrintable(merged));
        return 1;
    }

    printTimes("import", plain);
    std::printf("sqlite3_ms: %.0f\n", sqliteMs);
    std::printf("import_ratio: %.2f\n", double(plain.total) / qMax(sqliteMs, 1.0));
    std::fflush(stdout);
    store.reset();

    for (const auto &[name, file] :
         {std::pair("plain_to_encrypted", importFile), std::pair("encrypted_to_encrypted", encryptedFile)}) {
        TestStore own;
        if (!fillEncrypted(QStringLiteral("own")))
            return 1;
        const ImportTimes times = timeImport(file, QStringLiteral("bench"));
        if (times.total < 0 || !importedEncrypted()) {
            std::fprintf(stderr, "%s: the import is incomplete\n", name);
            return 1;
        }
        printTimes(name, times);
        std::printf("%s_ratio_to_plain: %.2f\n", name, double(times.total) / qMax<double>(plain.total, 1));
        std::fflush(stdout);
    }
    return 0;
}
