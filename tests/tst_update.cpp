// Updates end to end over a local server: the vault's check of a published
// release, and the updater that downloads, verifies and installs it.
#include "localhttpserver.h"
#include "standin.h"
#include "modalanswer.h"
#include "testpublisher.h"
#include "update/version.h"
#include "widget.h"

#include "releaseinstall.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>

#include <list>
#include <optional>

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// What nimbrel-sign said and how it ended.
struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

static Run nimbrelSign(const QStringList &args)
{
    QProcess sign;
    sign.start(NIMBREL_SIGN_TOOL, args);
    Run run;
    if (!sign.waitForFinished(30000) || sign.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = sign.exitCode();
    run.out = QString::fromLocal8Bit(sign.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(sign.readAllStandardError());
    return run;
}

// The served files of one release, each as the server sends it.
struct Served
{
    CannedReply description, signature, program, translation, updater;
};
Q_DECLARE_METATYPE(Served)

using Buttons = QList<QMessageBox::StandardButton>;

class TestUpdate : public QObject
{
    Q_OBJECT

    const TestPublisher publisher;
    // Both vault programs are this test program, which only notes that it
    // ran; the bytes after its end tell them apart.
    const QByteArray self = readFile(QCoreApplication::applicationFilePath());
    const QByteArray newProgram = self + "the new vault";
    const QByteArray oldProgram = self + "the installed vault";
    const QByteArray newTranslation = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd") + QByteArray(20000, 'T');
    const QByteArray oldTranslation = "the installed translation";
    const QByteArray newUpdater = self + "the new updater";
    const QByteArray description = TestPublisher::describe(213, newProgram, newTranslation, newUpdater);
    // A release of small stand-ins, for the vault's check, which downloads no program.
    const QByteArray genuine = TestPublisher::describe(213, "program", "translation", "updater");
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTcpServer> server;
    std::unique_ptr<Widget> widget;

    QString path(const char *name) const { return dir->filePath(QString::fromLatin1(name)); }

    // Installs the old release in a new program directory.
    void installOld()
    {
        dir = std::make_unique<QTemporaryDir>();
        qputenv(standInMark, path("started").toLocal8Bit());
        QVERIFY(writeFile(path("Nimbrel"), oldProgram));
        QVERIFY(QFile::setPermissions(path("Nimbrel"), QFile::permissions(path("Nimbrel")) | QFileDevice::ExeOwner));
        QVERIFY(writeFile(path("nimbrel_zh_CN.qm"), oldTranslation));
        QVERIFY(QFile::copy(path("Nimbrel"), path("NimbrelUp")));
    }

    // Installs the old release, publishes the served files and starts the updater.
    void start(const Served &served, int stallTimeoutMs = 30000, int deadlineMs = 600000)
    {
        installOld();
        server = serve(inUpdateFolder({{"Nimbrel.txt", served.description},
                                       {"Nimbrel.txt.sig", served.signature},
                                       {"Nimbrel", served.program},
                                       {"nimbrel_zh_CN.qm", served.translation},
                                       {"NimbrelUp", served.updater}}));
        widget = std::make_unique<Widget>();
        widget->setup = {updateFolderOf(*server), dir->path(), publisher.publicKey, stallTimeoutMs, 30000, deadlineMs};
        widget->show();
    }

    // Puts each download in place, as the updater leaves them.
    void writeDownloads(const QByteArray &program)
    {
        for (const auto &[name, contents] : {std::pair {"Nimbrel.bak", program},
                                             {"nimbrel_zh_CN.qm.bak", newTranslation},
                                             {"NimbrelUp.bak", newUpdater}})
            QVERIFY(writeFile(path(name), contents));
    }

private slots:
    // Only the one spelling of a description counts: one cut short, with
    // its files swapped or a hash missing is no release at all.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        const QByteArray program = "sha256 " + TestPublisher::sha256("program") + " 7 Nimbrel\n";
        const QByteArray translation = "sha256 " + TestPublisher::sha256("translation") + " 11 nimbrel_zh_CN.qm\n";
        const QByteArray updater = "sha256 " + TestPublisher::sha256("updater") + " 7 NimbrelUp\n";
        QTest::newRow("no last line end") << genuine.chopped(1);
        QTest::newRow("files swapped") << "213\n" + translation + program + updater;
        QTest::newRow("short hash") << "213\nsha256 abc 7 Nimbrel\n" + translation + updater;
        QTest::newRow("no size") << "213\n" + QByteArray(program).replace(" 7 ", " ") + translation + updater;
        QTest::newRow("no updater") << "213\n" + program + translation;
        QTest::newRow("html page") << htmlPage;
    }

    void parse()
    {
        QFETCH(QByteArray, text);
        QVERIFY(!ReleaseDescription::parse(text));
    }

    void check_data()
    {
        QTest::addColumn<CannedReply>("description");
        QTest::addColumn<CannedReply>("signature");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("trouble");

        const auto ok = [](const QByteArray &body) { return httpReply("200 OK", body); };
        const QByteArray old = TestPublisher::describe(212, "program", "translation", "updater");
        const CannedReply signature = ok(publisher.sign(genuine));
        const Buttons yesThenOk {QMessageBox::Yes, QMessageBox::Ok};

        // Three seconds of pieces, never a second without one: a silence
        // timer that data does not restart ends it.
        QTest::newRow("213 dripping, Yes") << CannedReply {ok(genuine).head, genuine, CannedReply::Dripping}
                                           << signature << Buttons {QMessageBox::Yes} << QString("slow");
        QTest::newRow("description stalls")
            << CannedReply {ok(genuine).head, genuine, CannedReply::Stalled} << signature << Buttons() << "slow";
        QTest::newRow("213, Yes") << ok(genuine) << signature << Buttons {QMessageBox::Yes} << QString();
        QTest::newRow("213, No") << ok(genuine) << signature << Buttons {QMessageBox::No} << QString();
        QTest::newRow("212") << ok(old) << ok(publisher.sign(old)) << Buttons() << QString();
        QTest::newRow("another key") << ok(genuine) << ok(TestPublisher().sign(genuine)) << Buttons() << QString();
        QTest::newRow("no signature") << ok(genuine) << httpReply("404 Not Found", htmlPage) << Buttons() << QString();
        QTest::newRow("edits not written") << ok(genuine) << signature << yesThenOk << QString("edits not written");
        QTest::newRow("no updater") << ok(genuine) << signature << yesThenOk << QString("no updater");
        QTest::newRow("refused connection") << ok(genuine) << signature << Buttons() << QString("no server");
        QTest::newRow("no key built in") << ok(genuine) << signature << Buttons() << QString("no key");
    }

    void check()
    {
        QFETCH(CannedReply, description);
        QFETCH(CannedReply, signature);
        QFETCH(Buttons, buttons);
        QFETCH(QString, trouble);
        QTemporaryDir dir;
        if (trouble != "no updater")
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), dir.filePath("NimbrelUp")));
        qputenv(standInMark, dir.filePath("started").toLocal8Bit());
        auto server = serve(inUpdateFolder({{"Nimbrel.txt", description}, {"Nimbrel.txt.sig", signature}}));
        const QUrl serverUrl = updateFolderOf(*server);
        if (trouble == "no server")
            server->close();

        Version version;
        version.setup = {serverUrl, dir.path(), trouble == "no key" ? QByteArray() : publisher.publicKey,
                         trouble == "slow" ? 1000 : 30000};
        int saves = 0;
        version.saveEdits = [&]() { return ++saves, trouble != "edits not written"; };
        QSignalSpy done(&version, &Version::done);
        std::list<ModalAnswer> answers;
        for (QMessageBox::StandardButton button : buttons)
            answers.emplace_back("Update", button);
        QCOMPARE(version.startDownload(version.versionFileUrl()), trouble != "no key");
        QVERIFY(answers.empty() || answers.back().wait());
        QTRY_COMPARE_WITH_TIMEOUT(QDir(dir.path()).entryList({"Nimbrel.txt*"}), QStringList(), 15000);
        QTest::qWait(100);

        if (!answers.empty())
            QCOMPARE(answers.front().text, QString("New version is checked, update now?"));
        if (answers.size() > 1)
            QVERIFY(answers.back().text.contains(trouble == "no updater" ? "could not be started" : "put off"));
        const bool updates = buttons == Buttons {QMessageBox::Yes};
        QCOMPARE(saves, buttons.value(0) == QMessageBox::Yes ? 1 : 0);
        QCOMPARE(done.count(), updates ? 1 : 0);
        const bool asks = trouble != "no key" && trouble != "no server";
        const bool stalls = description.pace == CannedReply::Stalled;
        QCOMPARE(server->property("requests").toInt(), asks ? (stalls ? 1 : 2) : 0);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir.filePath("started")), updates, 15000);
    }

    void release_data()
    {
        QTest::addColumn<Served>("served");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("told");
        const QByteArray own = TestPublisher::describe(212, newProgram, newTranslation, newUpdater);

        const auto ok = [](const QByteArray &body) { return httpReply("200 OK", body); };
        const Served genuine {ok(description), ok(publisher.sign(description)), ok(newProgram), ok(newTranslation),
                              ok(newUpdater)};
        const auto with = [&genuine](CannedReply Served::*file, const CannedReply &reply) {
            Served served = genuine;
            served.*file = reply;
            return served;
        };

        // A failure is told by its cause; the current version stays.
        QTest::newRow("genuine") << genuine << QString() << QString();
        QTest::newRow("genuine, length unknown")
            << with(&Served::program, unannounced(newProgram, CannedReply::Paused)) << QString() << QString();
        QTest::newRow("genuine, a link planted at each download name") << genuine << "links" << QString();
        QTest::newRow("program changed by one byte")
            << with(&Served::program, ok(TestPublisher::changed(newProgram, 100))) << QString()
            << QString("Nimbrel differs");
        QTest::newRow("translation changed by one byte")
            << with(&Served::translation, ok(TestPublisher::changed(newTranslation, 20010))) << QString()
            << QString("nimbrel_zh_CN.qm differs");
        QTest::newRow("signature by another key")
            << with(&Served::signature, ok(TestPublisher().sign(description))) << QString() << QString("not signed");
        QTest::newRow("no signature") << with(&Served::signature, httpReply("404 Not Found", htmlPage)) << QString()
                                      << QString("(the server answered 404)");
        QTest::newRow("older than the installed vault") << genuine << "installed 214" << QString("not newer");
        QTest::newRow("the updater's own version")
            << Served {ok(own), ok(publisher.sign(own)), ok(newProgram), ok(newTranslation), ok(newUpdater)}
            << QString() << QString("not newer");
        QTest::newRow("program cut off, length unknown")
            << with(&Served::program, unannounced(newProgram.left(200000))) << QString() << QString("Nimbrel differs");
        QTest::newRow("program stalls") << with(&Served::program,
                                                {ok(newProgram).head, newProgram, CannedReply::Stalled})
                                        << "impatient" << QString("(the server sent nothing for too long)");
        QTest::newRow("updater drips, never silent for long")
            << with(&Served::updater, {ok(newUpdater).head, newUpdater, CannedReply::Dripping}) << "impatient"
            << QString();
        QTest::newRow("updater drips past the deadline")
            << with(&Served::updater, unannounced(newUpdater, CannedReply::Dripping)) << "deadline"
            << QString("NimbrelUp failed (the transfer took longer than 2 seconds)");
        QTest::newRow("endless description")
            << with(&Served::description, unannounced(htmlPage, CannedReply::Endless)) << QString()
            << QString("Nimbrel.txt failed (the server sent more than the 4096 bytes expected)");
        QTest::newRow("endless signature")
            << with(&Served::signature, unannounced(htmlPage, CannedReply::Endless)) << QString()
            << QString("Nimbrel.txt.sig failed (the server sent more than the 64 bytes expected)");
        QTest::newRow("program longer than stated")
            << with(&Served::program, unannounced(newProgram + "and more")) << QString()
            << QString("(the server sent more than the %1 bytes expected)").arg(newProgram.size());
        QTest::newRow("translation announced as a terabyte")
            << with(&Served::translation,
                    {"HTTP/1.1 200 OK\r\nContent-Length: 1000000000000\r\n", newTranslation, CannedReply::Stalled})
            << QString() << QString("(the server announced 1000000000000 bytes, more than the 20016 expected)");
        QTest::newRow("program cannot be written") << genuine << "file size limit" << QString("File too large");
        // Root writes anywhere: the install fails on a place it cannot clear.
        QTest::newRow("install blocked") << genuine << "blocked" << QString("could not be put in place");
    }

    void release()
    {
        QFETCH(Served, served);
        QFETCH(QString, trouble);
        QFETCH(QString, told);
        const bool installs = told.isEmpty();
        // Only a failure is told, in a box.
        std::optional<ModalAnswer> box;
        if (!installs)
            box.emplace(QStringLiteral("Update"));
        // Only the rows about silence wait briefly: a busy machine may pause
        // a transfer for longer than that.
        start(served, trouble == "impatient" ? 1000 : 30000, trouble == "deadline" ? 2000 : 600000);
        QTemporaryDir elsewhere;
        if (trouble == "links") {
            for (const char *name : {"Nimbrel.txt", "Nimbrel.txt.sig", "Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"}) {
                QVERIFY(QFile::copy(path("Nimbrel"), elsewhere.filePath(name)));
                QVERIFY(QFile::link(elsewhere.filePath(name), path(name) + ".bak"));
            }
        }
        if (trouble == "blocked")
            QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("NimbrelUp.old/kept")));
        if (trouble == "installed 214")
            widget->setInstalledVersion(214);
        const rlimit unlimited {RLIM_INFINITY, RLIM_INFINITY};
        const rlimit limited {1000000, RLIM_INFINITY};
        if (trouble == "file size limit") {
            std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limited);
        }
        QSignalSpy done(widget.get(), &Widget::done);
        bool busy = false;
        connect(widget.get(), &QProgressBar::valueChanged, &done, [&]() { busy = busy || widget->maximum() == 0; });
        widget->start();
        QVERIFY(done.wait(20000));
        setrlimit(RLIMIT_FSIZE, &unlimited);

        const QString text = box ? box->text : QString();
        QVERIFY2(text.contains(told), qPrintable(text));
        QCOMPARE(readFile(path("Nimbrel")), installs ? newProgram : oldProgram);
        QCOMPARE(readFile(path("NimbrelUp")), installs ? newUpdater : oldProgram);
        QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), installs ? newTranslation : oldTranslation);
        QVERIFY(!QFileInfo(path("Nimbrel")).isSymLink());
        // The programs stay programs, the translation stays a text.
        QVERIFY(QFile::permissions(path("Nimbrel")) & QFileDevice::ExeOwner);
        QVERIFY(QFile::permissions(path("NimbrelUp")) & QFileDevice::ExeOwner);
        QVERIFY(!(QFile::permissions(path("nimbrel_zh_CN.qm")) & QFileDevice::ExeOwner));
        // What the planted links point to is left as it was.
        if (trouble == "links")
            QCOMPARE(readFile(elsewhere.filePath("Nimbrel")), oldProgram);
        // The installed vault, new or old, is the one started.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("started")), 15000);
        QStringList left {"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp", "started"};
        if (trouble == "blocked")
            left.insert(3, "NimbrelUp.old");
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), left);
        // Without a length the bar shows itself busy while the program arrives;
        // a failure may come before any progress is shown.
        if (installs || trouble == "deadline")
            QCOMPARE(busy, served.program.pace == CannedReply::Paused || trouble == "deadline");
    }

    void install_data()
    {
        QTest::addColumn<int>("afterFiles");
        QTest::addColumn<bool>("crash");
        QTest::addColumn<bool>("programIntact");
        QTest::addColumn<QString>("told");
        QTest::newRow("installed") << -1 << false << true << QString();
        QTest::newRow("third replace fails, rolled back") << 2 << false << true << QString("NimbrelUp: ");
        QTest::newRow("first replace fails, rolled back") << 0 << false << true << QString("Nimbrel: ");
        QTest::newRow("an old file in the way") << -1 << false << true << QString("NimbrelUp.old is in the way");
        QTest::newRow("crash after one file, finished at the next start") << 1 << true << true << QString();
        QTest::newRow("crash after one file, a download damaged, undone") << 1 << true << false << QString("undone");
    }

    // All the release or none of it: a replace that fails puts the old files
    // back; killed between the replaces, the next start finishes the install
    // when every download still left is the signed one, and undoes it
    // otherwise. Never a mixed release, nothing left over.
    void install()
    {
        QFETCH(int, afterFiles);
        QFETCH(bool, crash);
        QFETCH(bool, programIntact);
        QFETCH(QString, told);
        installOld();
        writeDownloads(newProgram);
        if (told.contains("in the way"))
            QVERIFY(QDir(dir->path()).mkpath("NimbrelUp.old/kept"));
        if (afterFiles >= 0)
            ReleaseInstall::interruption = ReleaseInstall::Interruption {afterFiles, crash};
        QString error;
        const bool installed = ReleaseInstall(dir->path()).install(*ReleaseDescription::parse(description), &error);
        ReleaseInstall::interruption.reset();
        const bool completes = told.isEmpty();
        QCOMPARE(installed, crash || completes);
        if (!crash && !completes)
            QVERIFY2(error.contains(told), qPrintable(error));
        if (crash) {
            QCOMPARE(readFile(path("Nimbrel")), newProgram);
            QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), oldTranslation);
            if (!programIntact)
                writeDownloads(TestPublisher::changed(newProgram, 100));
        }
        QCOMPARE(ReleaseInstall(dir->path()).recover(), crash);
        QCOMPARE(readFile(path("Nimbrel")), completes ? newProgram : oldProgram);
        QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), completes ? newTranslation : oldTranslation);
        QCOMPARE(readFile(path("NimbrelUp")), completes ? newUpdater : oldProgram);
        QStringList left {"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"};
        if (told.contains("in the way"))
            left.insert(3, "NimbrelUp.old");
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), left);
    }

    // The key is made once and printed; its secret file is the owner's
    // alone and never overwritten.
    void keygen()
    {
        QTemporaryDir keys;
        const QString secret = keys.filePath("nimbrel-update.secret");
        const Run made = nimbrelSign({"keygen", secret});
        QCOMPARE(made.exitCode, 0);
        QVERIFY2(QRegularExpression("^[0-9a-f]{64}\n$").match(made.out).hasMatch(), qPrintable(made.out));
        // Read and written by its owner, nothing for the group and others.
        QCOMPARE(QFile::permissions(secret).toInt() & 0x7077, 0x6000);
        const QByteArray kept = readFile(secret);
        const Run again = nimbrelSign({"keygen", secret});
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(again.err.startsWith("nimbrel-sign: cannot create " + secret), qPrintable(again.err));
        QCOMPARE(readFile(secret), kept);
        QVERIFY(nimbrelSign({"sign", secret}).err.startsWith("nimbrel-sign: usage: nimbrel-sign keygen SECRET_FILE"));
    }

    void publish_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QByteArray>("programMarker");
        QTest::addColumn<QByteArray>("updaterMarker");
        QTest::addColumn<QString>("refusal");
        const QByteArray as213 = "NIMBREL_RELEASE version=213 key=<key>;";
        QTest::newRow("signed") << "213" << as213 << as213 << QString();
        QTest::newRow("version with a point")
            << "2.13" << as213 << as213 << "the version must be a whole number like 213, not 2.13";
        QTest::newRow("program of another version")
            << "213" << QByteArray("NIMBREL_RELEASE version=212 key=<key>;") << as213
            << "Nimbrel is version 212, not 213: set the version in project(VERSION) of CMakeLists.txt";
        QTest::newRow("updater built without a key")
            << "213" << as213 << QByteArray("NIMBREL_RELEASE version=213 key=;")
            << "NimbrelUp was built without a key: configure with -DNIMBREL_UPDATE_KEY=<key> and build again";
        QTest::newRow("program built with another key")
            << "213" << QByteArray("NIMBREL_RELEASE version=213 key=00ff;") << as213
            << "Nimbrel was built with the key 00ff, which <secret> does not sign for";
        QTest::newRow("updater of no release")
            << "213" << as213 << QByteArray("NimbrelUp") << "NimbrelUp is not a program of this project";
        QTest::newRow("secret that is no key")
            << "213" << as213 << as213 << "<secret> holds no key made by nimbrel-sign keygen";
        // As built here, with no key: the build a publisher must not ship.
        QTest::newRow("the programs of this build")
            << "this build's" << QByteArray() << QByteArray() << "Nimbrel was built without a key";
    }

    // nimbrel-sign signs only programs that state the release's version and
    // the publisher's key; what it writes is what the vault accepts.
    void publish()
    {
        QFETCH(QString, version);
        QFETCH(QByteArray, programMarker);
        QFETCH(QByteArray, updaterMarker);
        QFETCH(QString, refusal);
        QTemporaryDir work;
        const QString secret = work.filePath("secret");
        const Run made = nimbrelSign({"keygen", secret});
        QCOMPARE(made.exitCode, 0);
        const QByteArray keyHex = made.out.trimmed().toLatin1();
        if (refusal.contains("no key made"))
            QVERIFY(writeFile(secret, "not a key\n"));
        const QDir release(work.filePath("release"));
        QVERIFY(release.mkpath("."));
        const QByteArray program = "program " + QByteArray(programMarker).replace("<key>", keyHex) + " end";
        const QByteArray translation = "translation";
        const QByteArray updater = "updater " + QByteArray(updaterMarker).replace("<key>", keyHex) + " end";
        if (programMarker.isEmpty()) {
            if (!ProgramFiles::updateKey().isEmpty())
                QSKIP("this build has a key of its own");
            version = QString::number(ProgramFiles::versionNumber());
            for (const char *name : {"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"})
                QVERIFY(QFile::copy(QDir(NIMBREL_PROGRAM_DIR).filePath(name), release.filePath(name)));
        } else {
            QVERIFY(writeFile(release.filePath("Nimbrel"), program));
            QVERIFY(writeFile(release.filePath("nimbrel_zh_CN.qm"), translation));
            QVERIFY(writeFile(release.filePath("NimbrelUp"), updater));
        }

        const Run published = nimbrelSign({"publish", secret, version, release.path()});
        const QString expected = QString(refusal).replace("<key>", keyHex).replace("<secret>", secret);
        if (!refusal.isEmpty()) {
            QCOMPARE(published.exitCode, 1);
            QVERIFY2(published.err.startsWith("nimbrel-sign: ") && published.err.contains(expected),
                     qPrintable(published.err));
            QCOMPARE(release.entryList(QDir::Files), QStringList({"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"}));
            return;
        }
        QCOMPARE(published.exitCode, 0);
        const QByteArray text = readFile(release.filePath("Nimbrel.txt"));
        QCOMPARE(text, TestPublisher::describe(213, program, translation, updater));
        QVERIFY(published.out.contains(text));
        const QByteArray signature = readFile(release.filePath("Nimbrel.txt.sig"));
        const QByteArray key = QByteArray::fromHex(keyHex);
        // The vault's own check: genuine for a 2.12 vault, not for a 2.13 one
        // nor under another key, nor with one byte of the text changed.
        QVERIFY(ReleaseDescription::genuineUpdate(text, signature, key, 212));
        QVERIFY(!ReleaseDescription::genuineUpdate(text, signature, key, 213));
        QVERIFY(!ReleaseDescription::genuineUpdate(text, signature, publisher.publicKey, 212));
        QVERIFY(!ReleaseDescription::genuineUpdate(TestPublisher::changed(text, 1), signature, key, 212));
    }

    // A second updater started during a download says so and ends; the
    // first goes on and installs.
    void secondUpdater()
    {
        start({httpReply("200 OK", description), httpReply("200 OK", publisher.sign(description)),
               unannounced(newProgram, CannedReply::Paused), httpReply("200 OK", newTranslation),
               httpReply("200 OK", newUpdater)});
        QSignalSpy done(widget.get(), &Widget::done);
        widget->start();
        QTRY_VERIFY(QFile::exists(path("Nimbrel.bak")));
        Widget second;
        second.setup = {QUrl("http://127.0.0.1:1/update/"), dir->path(), publisher.publicKey, 500};
        ModalAnswer told("Update");
        second.start();
        QVERIFY2(told.text.startsWith("An update is already being installed."), qPrintable(told.text));
        QVERIFY(done.wait(20000));
        QCOMPARE(readFile(path("Nimbrel")), newProgram);
    }

    void abandoned_data()
    {
        QTest::addColumn<bool>("byTheUser");
        QTest::newRow("window closed") << true;
        QTest::newRow("updater destroyed") << false;
    }

    // Left mid-download, nothing is installed and nothing left behind; the
    // user who closes the window gets the installed vault back.
    void abandoned()
    {
        QFETCH(bool, byTheUser);
        start({httpReply("200 OK", description),
               httpReply("200 OK", publisher.sign(description)),
               unannounced(newProgram, CannedReply::Stalled),
               httpReply("200 OK", newTranslation),
               {}});
        widget->start();
        QTRY_VERIFY(QFileInfo(path("Nimbrel.bak")).size() > 0);
        QSignalSpy done(widget.get(), &Widget::done);
        if (byTheUser)
            widget->close();
        widget.reset();
        QCOMPARE(done.count(), byTheUser ? 1 : 0);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList({"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"}));
        QCOMPARE(readFile(path("Nimbrel")), oldProgram);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(path("started")), byTheUser, 5000);
    }
};

QTEST_MAIN(TestUpdate)

#include "tst_update.moc"
