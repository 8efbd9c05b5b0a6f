// Updates end to end over a local server: the vault's check of a published
// release, and the updater that downloads, verifies and installs it.
#include "localhttpserver.h"
#include "modalanswer.h"
#include "testpublisher.h"
#include "vaultdriver.h"
#include "update/version.h"
#include "widget.h"

#include "releaseinstall.h"

#include <QAbstractButton>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

#include <list>
#include <optional>

// Started with this variable set, a stand-in for a program that an update
// starts creates the file the variable names, and ends.
const char *const standInMark = "NIMBREL_TEST_STANDIN_MARK";

// A stand-in, told apart from the others by its name, padded to size.
static QByteArray standIn(const QByteArray &name, qsizetype size = 0)
{
    const QByteArray script = "#!/bin/sh\n: > \"$NIMBREL_TEST_STANDIN_MARK\"\nexit 0\n# " + name + "\n";
    return script + QByteArray(qMax<qsizetype>(0, size - script.size()), '#');
}

// What nimbrel-sign said and how it ended.
struct Run
{
    int exitCode = -1;
    QString out, err;
};

static Run nimbrelSign(const QStringList &args)
{
    QProcess sign;
    sign.start(NIMBREL_SIGN_TOOL, args);
    const bool ended = sign.waitForFinished(30000) && sign.exitStatus() == QProcess::NormalExit;
    return {ended ? sign.exitCode() : -1, sign.readAllStandardOutput(), sign.readAllStandardError()};
}

static CannedReply ok(const QByteArray &body)
{
    return httpReply("200 OK", body);
}

using Buttons = QList<QMessageBox::StandardButton>;
// Served files by name, each as the server sends it.
using Files = QHash<QString, CannedReply>;

class TestUpdate : public QObject
{
    Q_OBJECT

    const TestPublisher publisher;
    // Larger than the file size limit of the row that cannot write it.
    const QByteArray newProgram = standIn("the new vault", 1500000);
    const QByteArray oldProgram = standIn("the installed vault");
    const QByteArray newTranslation = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd") + QByteArray(20000, 'T');
    const QByteArray oldTranslation = "the installed translation";
    const QByteArray newUpdater = standIn("the new updater");
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
        QVERIFY(writeFile(path("Nimbrel"), oldProgram, QFileDevice::ExeOwner));
        QVERIFY(writeFile(path("nimbrel_zh_CN.qm"), oldTranslation));
        QVERIFY(QFile::copy(path("Nimbrel"), path("NimbrelUp")));
    }

    // Installs the old release and publishes the new one, with the given
    // files served in place of its own; the signature is the publisher's of
    // the description served.
    void publish(const Files &replaced)
    {
        installOld();
        const CannedReply text = replaced.value("Nimbrel.txt", ok(description));
        Files files {{"Nimbrel.txt", text},
                     {"Nimbrel.txt.sig", ok(publisher.sign(text.body))},
                     {"Nimbrel", ok(newProgram)},
                     {"nimbrel_zh_CN.qm", ok(newTranslation)},
                     {"NimbrelUp", ok(newUpdater)}};
        files.insert(replaced);
        server = serve(files);
    }

    // Publishes and starts the updater.
    void start(const Files &replaced, int stallTimeoutMs = 30000, int deadlineMs = 600000)
    {
        publish(replaced);
        widget = std::make_unique<Widget>();
        widget->setup = {updateFolderOf(*server), dir->path(), publisher.publicKey, stallTimeoutMs, 30000, deadlineMs};
        widget->show();
    }

private slots:
    void check_data()
    {
        QTest::addColumn<CannedReply>("description");
        QTest::addColumn<CannedReply>("signature");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<int>("requests");
        const QByteArray old = TestPublisher::describe(212, "program", "translation", "updater");
        const QByteArray program = "sha256 " + TestPublisher::sha256("program") + " 7 Nimbrel\n";
        const QByteArray translation = "sha256 " + TestPublisher::sha256("translation") + " 11 nimbrel_zh_CN.qm\n";
        const QByteArray updater = "sha256 " + TestPublisher::sha256("updater") + " 7 NimbrelUp\n";
        // None: the publisher's signature of the description served.
        const CannedReply signature;
        const Buttons noBox, yes {QMessageBox::Yes};
        const Buttons yesThenOk {QMessageBox::Yes, QMessageBox::Ok};

        // Three seconds of pieces, never a second without one: a silence
        // timer that data does not restart ends it.
        QTest::newRow("213 dripping, Yes") << CannedReply {ok(genuine).head, genuine, CannedReply::Dripping}
                                           << signature << yes << QString("slow") << 2;
        QTest::newRow("description stalls")
            << CannedReply {ok(genuine).head, genuine, CannedReply::Stalled} << signature << noBox << "slow" << 1;
        QTest::newRow("213, No") << ok(genuine) << signature << Buttons {QMessageBox::No} << QString() << 2;
        QTest::newRow("212") << ok(old) << signature << noBox << QString() << 2;
        // Only the one spelling of a description counts: one cut short, with
        // its files swapped or a hash missing is no release at all.
        QTest::newRow("no last line end") << ok(genuine.chopped(1)) << signature << noBox << "" << 2;
        QTest::newRow("swapped") << ok("213\n" + translation + program + updater) << signature << noBox << "" << 2;
        QTest::newRow("short hash") << ok("213\nsha256 abc 7 Nimbrel\n" + translation + updater) << signature << noBox
                                    << "" << 2;
        QTest::newRow("no size") << ok("213\n" + QByteArray(program).replace(" 7 ", " ") + translation + updater)
                                 << signature << noBox << "" << 2;
        QTest::newRow("no updater line") << ok("213\n" + program + translation) << signature << noBox << "" << 2;
        QTest::newRow("html page") << ok(htmlPage) << signature << noBox << "" << 2;
        QTest::newRow("another key") << ok(genuine) << ok(TestPublisher().sign(genuine)) << noBox << QString() << 2;
        QTest::newRow("no signature") << ok(genuine) << httpReply("404 Not Found", htmlPage) << noBox << "" << 2;
        QTest::newRow("edits not written") << ok(genuine) << signature << yesThenOk << "edits not written" << 2;
        QTest::newRow("no updater") << ok(genuine) << signature << yesThenOk << QString("no updater") << 2;
        QTest::newRow("refused connection") << ok(genuine) << signature << noBox << QString("no server") << 0;
        QTest::newRow("no key built in") << ok(genuine) << signature << noBox << QString("no key") << 0;
    }

    void check()
    {
        QFETCH(CannedReply, description);
        QFETCH(CannedReply, signature);
        QFETCH(Buttons, buttons);
        QFETCH(QString, trouble);
        QFETCH(int, requests);
        if (signature.head.isEmpty())
            signature = ok(publisher.sign(description.body));
        QTemporaryDir dir;
        if (trouble != "no updater")
            QVERIFY(writeFile(dir.filePath("NimbrelUp"), standIn("the updater"), QFileDevice::ExeOwner));
        qputenv(standInMark, dir.filePath("started").toLocal8Bit());
        auto server = serve({{"Nimbrel.txt", description}, {"Nimbrel.txt.sig", signature}});
        const QUrl serverUrl = trouble == "no server" ? QUrl("http://127.0.0.1:1/update/") : updateFolderOf(*server);

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
        QCOMPARE(server->property("requests").toInt(), requests);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir.filePath("started")), updates, 15000);
    }

    void release_data()
    {
        QTest::addColumn<Files>("served");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("told");
        const QByteArray own = TestPublisher::describe(212, newProgram, newTranslation, newUpdater);
        const Files stalled {{"Nimbrel", unannounced(newProgram, CannedReply::Stalled)}};

        // A failure is told by its cause; the current version stays.
        QTest::newRow("genuine, length unknown, a second updater started")
            << Files {{"Nimbrel", unannounced(newProgram, CannedReply::Paused)}} << "second" << QString();
        QTest::newRow("genuine, a link planted at each download name") << Files() << "links" << QString();
        // Left mid-download, nothing is installed and nothing left behind; the
        // user who closes the window gets the installed vault back.
        QTest::newRow("window closed") << stalled << "closed" << QString();
        QTest::newRow("updater destroyed") << stalled << "destroyed" << QString();
        QTest::newRow("program changed by one byte")
            << Files {{"Nimbrel", ok(TestPublisher::changed(newProgram, 100))}} << QString() << "Nimbrel differs";
        QTest::newRow("signature by another key")
            << Files {{"Nimbrel.txt.sig", ok(TestPublisher().sign(description))}} << QString() << "not signed";
        QTest::newRow("no signature") << Files {{"Nimbrel.txt.sig", httpReply("404 Not Found", htmlPage)}} << QString()
                                      << "(the server answered 404)";
        QTest::newRow("the updater's own version") << Files {{"Nimbrel.txt", ok(own)}} << QString() << "not newer";
        QTest::newRow("program cut off, length unknown")
            << Files {{"Nimbrel", unannounced(newProgram.left(200000))}} << QString() << "Nimbrel differs";
        QTest::newRow("program stalls") << stalled << "impatient" << QString("(the server sent nothing for too long)");
        QTest::newRow("updater drips, never silent for long")
            << Files {{"NimbrelUp", {ok(newUpdater).head, newUpdater, CannedReply::Dripping}}} << "impatient"
            << QString();
        QTest::newRow("updater drips past the deadline")
            << Files {{"NimbrelUp", unannounced(newUpdater, CannedReply::Dripping)}} << "deadline"
            << QString("NimbrelUp failed (the transfer took longer than 1 s)");
        QTest::newRow("endless description")
            << Files {{"Nimbrel.txt", unannounced(htmlPage, CannedReply::Endless)}} << QString()
            << "Nimbrel.txt failed (the server sent more than the 4096 bytes expected)";
        QTest::newRow("endless signature")
            << Files {{"Nimbrel.txt.sig", unannounced(htmlPage, CannedReply::Endless)}} << QString()
            << "Nimbrel.txt.sig failed (the server sent more than the 64 bytes expected)";
        QTest::newRow("program longer than stated")
            << Files {{"Nimbrel", unannounced(newProgram + "and more")}} << QString()
            << "(the server sent more than the 1500000 bytes expected)";
        QTest::newRow("translation announced as a terabyte")
            << Files {{"nimbrel_zh_CN.qm",
                       {"HTTP/1.1 200 OK\r\nContent-Length: 1000000000000\r\n", newTranslation, CannedReply::Stalled}}}
            << QString() << "(the server announced 1000000000000 bytes, more than the 20016 expected)";
        QTest::newRow("program cannot be written") << Files() << "file size limit" << QString("File too large");
        // Root writes anywhere: the install fails on a place it cannot clear.
        QTest::newRow("install blocked") << Files() << "blocked" << QString("NimbrelUp.old is in the way), so");
    }

    void release()
    {
        QFETCH(Files, served);
        QFETCH(QString, trouble);
        QFETCH(QString, told);
        const bool abandoned = trouble == "closed" || trouble == "destroyed";
        const bool installs = told.isEmpty() && !abandoned;
        // Only a failure is told, in a box.
        std::optional<ModalAnswer> box;
        if (!told.isEmpty())
            box.emplace(QStringLiteral("Update"));
        // Only the rows about silence wait briefly: a busy machine may pause
        // a transfer for longer than that.
        start(served, trouble == "impatient" ? 1000 : 30000, trouble == "deadline" ? 1000 : 600000);
        QTemporaryDir elsewhere;
        if (trouble == "links") {
            for (const char *name : {"Nimbrel.txt", "Nimbrel.txt.sig", "Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"}) {
                QVERIFY(QFile::copy(path("Nimbrel"), elsewhere.filePath(name)));
                QVERIFY(QFile::link(elsewhere.filePath(name), path(name) + ".bak"));
            }
        }
        if (trouble == "blocked")
            QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("NimbrelUp.old/kept")));
        // The program is larger than the limit of the row that cannot write it.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit size {trouble == "file size limit" ? rlim_t(1000000) : RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &size);
        QSignalSpy done(widget.get(), &Widget::done);
        bool busy = false;
        connect(widget.get(), &QProgressBar::valueChanged, &done, [&]() { busy = busy || widget->maximum() == 0; });
        widget->start();
        if (abandoned || trouble == "second")
            QTRY_VERIFY(QFileInfo(path("Nimbrel.bak")).size() > 0);
        if (trouble == "closed")
            widget->close();
        if (abandoned)
            widget.reset();
        if (trouble == "second") {
            // A second updater started during a download says so and ends.
            Widget second;
            second.setup = widget->setup;
            ModalAnswer secondTold("Update");
            second.start();
            QVERIFY2(secondTold.text.startsWith("An update is already being installed."), qPrintable(secondTold.text));
        }
        QVERIFY(trouble == "destroyed" || done.count() || done.wait(20000));
        QCOMPARE(done.count(), trouble == "destroyed" ? 0 : 1);
        size.rlim_cur = RLIM_INFINITY;
        setrlimit(RLIMIT_FSIZE, &size);

        const QString text = box ? box->text : QString();
        QVERIFY2(text.contains(told), qPrintable(text));
        QCOMPARE(readFile(path("Nimbrel")), installs ? newProgram : oldProgram);
        QCOMPARE(readFile(path("NimbrelUp")), installs ? newUpdater : oldProgram);
        QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), installs ? newTranslation : oldTranslation);
        // The programs stay programs, the translation stays a text.
        QVERIFY(QFile::permissions(path("Nimbrel")) & QFileDevice::ExeOwner);
        QVERIFY(QFile::permissions(path("NimbrelUp")) & QFileDevice::ExeOwner);
        QVERIFY(!(QFile::permissions(path("nimbrel_zh_CN.qm")) & QFileDevice::ExeOwner));
        // What the planted links point to is left as it was.
        if (trouble == "links")
            QCOMPARE(readFile(elsewhere.filePath("Nimbrel")), oldProgram);
        // The installed vault, new or old, is the one started, unless the
        // updater is torn down.
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(path("started")), trouble != "destroyed", 15000);
        QStringList left {"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp", "started"};
        if (trouble == "blocked")
            left.insert(3, "NimbrelUp.old");
        if (trouble == "destroyed")
            left.removeLast();
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), left);
        // Without a length the bar shows itself busy while the program arrives;
        // a failure may come before any progress is shown.
        if (installs || trouble == "deadline")
            QCOMPARE(busy, served.value("Nimbrel").pace == CannedReply::Paused || trouble == "deadline");
    }

    void install_data()
    {
        QTest::addColumn<int>("afterFiles");
        QTest::addColumn<bool>("crash");
        QTest::addColumn<bool>("programIntact");
        QTest::addColumn<QString>("told");
        QTest::newRow("third replace fails, rolled back") << 2 << false << true << QString("NimbrelUp: ");
        QTest::newRow("first replace fails, rolled back") << 0 << false << true << QString("Nimbrel: ");
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
        // Each download in place, as the updater leaves them.
        for (const auto &[name, contents] : {std::pair {"Nimbrel.bak", newProgram},
                                             {"nimbrel_zh_CN.qm.bak", newTranslation},
                                             {"NimbrelUp.bak", newUpdater}})
            QVERIFY(writeFile(path(name), contents));
        ReleaseInstall::interruption = ReleaseInstall::Interruption {afterFiles, crash};
        QString error;
        const bool installed = ReleaseInstall(dir->path()).install(*ReleaseDescription::parse(description), &error);
        ReleaseInstall::interruption.reset();
        const bool completes = told.isEmpty();
        QCOMPARE(installed, crash);
        QVERIFY2(crash || error.contains(told), qPrintable(error));
        if (!programIntact)
            QVERIFY(writeFile(path("Nimbrel.bak"), TestPublisher::changed(newProgram, 100)));
        QCOMPARE(ReleaseInstall(dir->path()).recover(), crash);
        QCOMPARE(readFile(path("Nimbrel")), completes ? newProgram : oldProgram);
        QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), completes ? newTranslation : oldTranslation);
        QCOMPARE(readFile(path("NimbrelUp")), completes ? newUpdater : oldProgram);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"}));
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
        QTemporaryDir work, releaseDir;
        const QString secret = work.filePath("secret");
        // The key is made once and printed; its secret file is the owner's
        // alone (nothing for the group and others) and never made again.
        const Run made = nimbrelSign({"keygen", secret});
        QVERIFY2(made.exitCode == 0 && QRegularExpression("^[0-9a-f]{64}\n$").match(made.out).hasMatch(),
                 qPrintable(made.out));
        QCOMPARE(QFile::permissions(secret).toInt() & 0x7077, 0x6000);
        const Run again = nimbrelSign({"keygen", secret});
        QVERIFY2(again.exitCode == 1 && again.err.startsWith("nimbrel-sign: cannot create " + secret),
                 qPrintable(again.err));
        QVERIFY(nimbrelSign({"sign", secret}).err.startsWith("nimbrel-sign: usage: nimbrel-sign keygen SECRET_FILE"));
        const QByteArray keyHex = made.out.trimmed().toLatin1();
        if (refusal.contains("no key made"))
            QVERIFY(writeFile(secret, "not a key\n"));
        const QDir release(releaseDir.path());
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
        // The vault's own check: genuine for a 2.12 vault, not with one byte
        // of the text changed.
        QVERIFY(ReleaseDescription::genuineUpdate(text, signature, key, 212));
        QVERIFY(!ReleaseDescription::genuineUpdate(TestPublisher::changed(text, 1), signature, key, 212));
    }

    // NimbrelUp as the vault starts it: in the system's language, the
    // vault's and Qt's texts alike, and never over the installed version
    // the vault names.
    void updaterProgram()
    {
        publish({});
        // Qt's translation comes from Qt's own folder when the program's has none.
        QFile::remove(path("nimbrel_zh_CN.qm"));
        QVERIFY(QFile::copy(QDir(NIMBREL_PROGRAM_DIR).filePath("nimbrel_zh_CN.qm"), path("nimbrel_zh_CN.qm")));
        ModalAnswer told(QString::fromUtf8("更新"), QMessageBox::Ok, [](QWidget *box) {
            QCOMPARE(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
            QCOMPARE(box->parentWidget()->geometry(), QRect(266, 400, 250, 30));
            QVERIFY(box->parentWidget()->isVisible());
        });
        const UpdateSetup setup {updateFolderOf(*server), dir->path(), publisher.publicKey};
        QCOMPARE(Widget::run(setup, {"NimbrelUp", "--installed", "214"}, "zh_CN"), 0);
        QCOMPARE(told.text, QString::fromUtf8("此更新并不比当前版本新，已拒绝此更新，将继续使用当前版本。"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("started")), 15000);
    }
};

QTEST_MAIN(TestUpdate)

#include "tst_update.moc"
