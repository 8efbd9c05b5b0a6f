// Imports a store of 100 categories, 10,000 cards and 100,000 lines through
// the "Import Data..." entry, and the same merge with the sqlite3 shell on
// copies of the same files.
#include "mainwindow/importlogin.h"
#include "mainwindow/mainwindow.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

const char *const fillStatements[] = {
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100) "
    "insert into category select i, 'category ' || i from n",
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 10000) "
    "insert into card select i, i % 18 + 1, 'card ' || i, (i - 1) / 100 + 1 from n",
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
    "insert into content select i, 'Password', 'value ' || i, (i - 1) / 10 + 1 from n",
};

bool runShell(const QString &database, const QByteArray &script, qint64 *elapsedMs = nullptr)
{
    QProcess shell;
    QElapsedTimer clock;
    clock.start();
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), database});
    if (!shell.waitForStarted())
        return false;
    shell.write(script);
    shell.closeWriteChannel();
    const bool ok = shell.waitForFinished(60000) && shell.exitStatus() == QProcess::NormalExit
        && shell.exitCode() == 0;
    if (elapsedMs)
        *elapsedMs = clock.elapsed();
    if (!ok)
        std::fprintf(stderr, "sqlite3: %s\n", shell.readAllStandardError().constData());
    return ok;
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
    if (store.count(QStringLiteral("content")) != 200000) {
        std::fprintf(stderr, "the import did not copy the lines\n");
        return 1;
    }

    const QByteArray merge = "ATTACH 'file:" + importFile.toUtf8() + "?mode=ro' AS importdb;\n"
                             "BEGIN;\n"
                             "INSERT INTO category SELECT id + 100, name FROM importdb.category;\n"
                             "INSERT INTO card SELECT id + 10000, type, name, categoryid + 100 FROM importdb.card;\n"
                             "INSERT INTO content SELECT id + 100000, title, value, cardid + 10000 "
                             "FROM importdb.content;\n"
                             "COMMIT;\n"
                             "DETACH importdb;\n";
    qint64 shellMs = 0;
    if (!runShell(shellStore, merge, &shellMs))
        return 1;

    std::printf("import_ms: %lld\n", static_cast<long long>(importMs));
    std::printf("sqlite3_ms: %lld\n", static_cast<long long>(shellMs));
    std::printf("import_ratio: %.2f\n", double(importMs) / double(qMax<qint64>(shellMs, 1)));
    return 0;
}
