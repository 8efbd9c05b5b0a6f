// Imports a store of 100 categories, 100,000 cards and 1,000,000 lines
// through the "Import Data..." entry, and the same merge with the sqlite3
// shell on copies of the same files. The shell's time is the sum of the
// times it reports for its statements: its own start-up is not counted.
#include "mainwindow/importlogin.h"
#include "mainwindow/mainwindow.h"
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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    const QString importFile = work.filePath(QStringLiteral("import.db"));
    const QString shellStore = work.filePath(QStringLiteral("shell.dat"));

    // The file to import, with the store's schema and a password.
    TestStore store;
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
    for (const char *statement : fillStatements)
        store.exec(QLatin1String(statement));
    if (!QFile::copy(store.filePath(), shellStore))
        return 1;

    MainWindow window;
    window.transferFileName = [&importFile](const QString &) { return importFile; };
    QAction *entry = importEntry(window);
    if (!entry)
        return 1;
    answerPassword(QStringLiteral("bench"));
    QElapsedTimer clock;
    clock.start();
    entry->trigger();
    const qint64 importMs = clock.elapsed();

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

    std::printf("import_ms: %lld\n", static_cast<long long>(importMs));
    std::printf("sqlite3_ms: %.0f\n", sqliteMs);
    std::printf("import_ratio: %.2f\n", double(importMs) / qMax(sqliteMs, 1.0));
    return 0;
}
