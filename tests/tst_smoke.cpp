#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Starts the built programs from a temporary copy of the program directory.
// They run without a network (a namespace of their own), so their update
// check reaches nothing.
class TestSmoke : public QObject
{
    Q_OBJECT

private slots:
    void firstStartCreatesTheStore_data();
    void firstStartCreatesTheStore();
    void updaterStarts();

    void init();

private:
    static QString copyProgramDir(const QTemporaryDir &dir);
    static void startIsolated(QProcess &process, const QString &program, const QString &lang);
};

QString TestSmoke::copyProgramDir(const QTemporaryDir &dir)
{
    const QDir source(NIMBREL_PROGRAM_DIR);
    for (const QString &name : source.entryList(QDir::Files)) {
        if (name == "nimbrel.dat")
            continue;
        const QString target = dir.filePath(name);
        if (!QFile::copy(source.filePath(name), target))
            return QString();
        QFile::setPermissions(target, QFile(source.filePath(name)).permissions());
    }
    return dir.path();
}

void TestSmoke::startIsolated(QProcess &process, const QString &program, const QString &lang)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LANG", lang);
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.remove("LANGUAGE");
    process.setProcessEnvironment(env);
    process.start(QStandardPaths::findExecutable("unshare"), {"-rn", program});
    QVERIFY(process.waitForStarted());
}

void TestSmoke::init()
{
    if (QStandardPaths::findExecutable("unshare").isEmpty())
        QSKIP("unshare is needed to keep the programs off the network");
}

void TestSmoke::firstStartCreatesTheStore_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("passwordType");
    QTest::newRow("english") << "en_US.UTF-8" << "en_US" << "Password";
    QTest::newRow("chinese") << "zh_CN.UTF-8" << "zh_CN" << QString::fromUtf8("密码");
}

void TestSmoke::firstStartCreatesTheStore()
{
    QFETCH(QString, lang);
    QFETCH(QString, code);
    QFETCH(QString, passwordType);

    QTemporaryDir dir;
    const QString programDir = copyProgramDir(dir);
    QVERIFY(!programDir.isEmpty());
    QProcess vault;
    startIsolated(vault, QDir(programDir).filePath("Nimbrel"), lang);
    if (QTest::currentTestFailed())
        return;

    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "smoke");
    db.setDatabaseName(QDir(programDir).filePath("nimbrel.dat"));
    db.setConnectOptions("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000");
    auto lastlang = [&db]() {
        if (!QFileInfo::exists(db.databaseName()) || (!db.isOpen() && !db.open()))
            return QString();
        QSqlQuery query(db);
        return query.exec("select lastlang from option") && query.next() ? query.value(0).toString() : QString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(lastlang(), code, 15000);
    QCOMPARE(vault.state(), QProcess::Running);

    QSqlQuery query(db);
    QVERIFY(query.exec("select count(*) from sqlite_master where type = 'table'") && query.next());
    QCOMPARE(query.value(0).toInt(), 5);
    QVERIFY(query.exec("select count(*), min(id), max(id) from cardtype") && query.next());
    QCOMPARE(query.value(0).toInt(), 18);
    QCOMPARE(query.value(2).toInt(), 18);
    QVERIFY(query.exec("select name from cardtype where id = 13") && query.next());
    QCOMPARE(query.value(0).toString(), passwordType);
    QVERIFY(query.exec("select language, category, password from option") && query.next());
    QCOMPARE(query.value(0).toString(), QString("none"));
    QCOMPARE(query.value(1).toInt(), -1);
    QCOMPARE(query.value(2).toString(), QString("none"));
    query.finish();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("smoke");

    vault.kill();
    vault.waitForFinished();
}

void TestSmoke::updaterStarts()
{
    QTemporaryDir dir;
    const QString programDir = copyProgramDir(dir);
    QProcess updater;
    startIsolated(updater, QDir(programDir).filePath("NimbrelUp"), "en_US.UTF-8");
    if (QTest::currentTestFailed())
        return;
    // Without a network it stays with its bar until closed.
    QVERIFY(!updater.waitForFinished(1500));
    updater.kill();
    updater.waitForFinished();
    QVERIFY(QFileInfo(QDir(programDir).filePath("Nimbrel")).isExecutable());
}

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
