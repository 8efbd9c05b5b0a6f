#include "vaulttest.h"

#include "store/startup.h"

// Starts the built programs from a temporary copy of the program directory,
// without a network (a namespace of their own), so that their update check
// reaches nothing.
class TestSmoke : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Without unshare, or in a chroot or a container without user
        // namespaces, which has unshare but refuses it (it says why).
        if (QProcess::execute("unshare", {"-rn", "true"}) != 0)
            noNetworkNamespace = "no network namespace can be made here (unshare -rn), so the programs cannot be "
                                 "kept off the network";
    }

    // The install copies the program directory as one unit: the programs and
    // the translations side by side, as the updater finds and replaces them.
    void installPutsTheProgramDirectoryTogether()
    {
        QTemporaryDir prefix;
        QProcess install;
        install.start(NIMBREL_CMAKE_COMMAND, {"--install", NIMBREL_BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        QCOMPARE(QDir(prefix.path()).entryList(QDir::Files),
                 QStringList({"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp", "qtbase_zh_CN.qm"}));
        QVERIFY(QFileInfo(prefix.filePath("Nimbrel")).isExecutable()
                && QFileInfo(prefix.filePath("NimbrelUp")).isExecutable());
        QCOMPARE(readFile(prefix.filePath("nimbrel_zh_CN.qm")),
                 readFile(QDir(NIMBREL_PROGRAM_DIR).filePath("nimbrel_zh_CN.qm")));
        QVERIFY(QFileInfo::exists(prefix.filePath("share/applications/nimbrel.desktop")));
    }

    void firstStartCreatesTheStore_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("passwordType");
        QTest::newRow("english") << "en_US.UTF-8" << QString("en_US") << QString("Password");
        QTest::newRow("chinese") << "zh_CN.UTF-8" << QString("zh_CN") << QString::fromUtf8("密码");
    }

    void firstStartCreatesTheStore()
    {
        QFETCH(QString, lang);
        QFETCH(QString, code);
        if (!noNetworkNamespace.isEmpty())
            QSKIP(qPrintable(noNetworkNamespace));
        for (const char *name : {"Nimbrel", "NimbrelUp", "nimbrel_zh_CN.qm"}) {
            QFile::remove(programDir.filePath(name));
            QVERIFY(QFile::copy(QDir(NIMBREL_PROGRAM_DIR).filePath(name), programDir.filePath(name)));
        }
        QFile::remove(programDir.filePath("nimbrel.dat"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The language wins over any other the environment names.
        env.insert("LC_ALL", lang);
        env.remove("LANGUAGE");
        process.setProcessEnvironment(env);
        process.start("unshare", {"-rn", programDir.filePath("Nimbrel")});
        QVERIFY(process.waitForStarted());

        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "smoke");
        db.setDatabaseName(programDir.filePath("nimbrel.dat"));
        db.setConnectOptions("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000");
        auto valueOf = [&db](const QString &statement) {
            if (!QFileInfo::exists(db.databaseName()) || (!db.isOpen() && !db.open()))
                return QString();
            QSqlQuery query(db);
            return query.exec(statement) && query.next() ? query.value(0).toString() : QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(valueOf("select lastlang from option"), code, 15000);
        QCOMPARE(process.state(), QProcess::Running);
        QTEST(valueOf("select name from cardtype where id = 13"), "passwordType");
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("smoke");

        // A second copy on the store says so and ends, leaving the store alone.
        const QByteArray stored = readFile(programDir.filePath("nimbrel.dat"));
        {
            ModalAnswer told("Nimbrel");
            QCOMPARE(runVault(programDir.path()), 0);
            QVERIFY2(told.text.startsWith("The vault is already open"), qPrintable(told.text));
        }
        QCOMPARE(readFile(programDir.filePath("nimbrel.dat")), stored);
        // Killed, it leaves its lock file behind: the next row's first start takes it over.
        process.kill();
        process.waitForFinished();
    }

    void lockedStoreEndsTheStart()
    {
        TestStore store("insert into category values(1, 'Web')");
        closeStore();
        const QByteArray stored = readFile(store.filePath());
        OtherProgram holder(store.filePath(), "BEGIN EXCLUSIVE");
        ModalAnswer told("Database Error");
        QCOMPARE(runVault(store.dir()), 1);
        QVERIFY2(told.text.startsWith("The store is in use by another program:\ndatabase is locked"),
                 qPrintable(told.text));
        holder.release();
        QCOMPARE(readFile(store.filePath()), stored);
    }

private:
    QString noNetworkNamespace;
    QTemporaryDir programDir;
    QProcess process;
};

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
