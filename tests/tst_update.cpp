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

    // Installs the old pair, publishes the served files and starts the updater.
    void start(const Served &served, int stallTimeoutMs = 30000, int deadlineMs = 600000)
    {
        dir = std::make_unique<QTemporaryDir>();
        qputenv(standInMark, path("started").toLocal8Bit());
        QFile program(path("Nimbrel"));
        QVERIFY(program.open(QIODevice::WriteOnly) && program.write(oldProgram) == oldProgram.size());
        QVERIFY(program.setPermissions(program.permissions() | QFileDevice::ExeOwner));
        QFile translation(path("nimbrel_zh_CN.qm"));
        QVERIFY(translation.open(QIODevice::WriteOnly) && translation.write(oldTranslation) > 0);
        QVERIFY(QFile::copy(path("Nimbrel"), path("NimbrelUp")));
        server = serve({{"/update/Nimbrel.txt", served.description},
                        {"/update/Nimbrel.txt.sig", served.signature},
                        {"/update/Nimbrel", served.program},
                        {"/update/nimbrel_zh_CN.qm", served.translation},
                        {"/update/NimbrelUp", served.updater}});
        widget = std::make_unique<Widget>();
        widget->setUp({QUrl(QStringLiteral("http://127.0.0.1:%1/update/").arg(server->serverPort())), dir->path(),
                       publisher.publicKey, stallTimeoutMs, 30000, deadlineMs});
        widget->show();
    }

    // Puts each download in place, as the updater leaves them.
    void writeDownloads(const QByteArray &program)
    {
        for (const auto &[name, contents] : {std::pair {"Nimbrel.bak", program},
                                             {"nimbrel_zh_CN.qm.bak", newTranslation},
                                             {"NimbrelUp.bak", newUpdater}}) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
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
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(),
                                ProgramFiles::pathIn(dir.path(), ProgramFiles::updaterName())));
        qputenv(standInMark, dir.filePath("started").toLocal8Bit());
        auto server = serve({{"/update/Nimbrel.txt", description}, {"/update/Nimbrel.txt.sig", signature}});
        const QUrl serverUrl(QString("http://127.0.0.1:%1/update/").arg(server->serverPort()));
        if (trouble == "no server")
            server->close();

        Version version;
        version.setUp({serverUrl, dir.path(), trouble == "no key" ? QByteArray() : publisher.publicKey, 30000});
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
        QCOMPARE(server->property("requests").toInt(), asks ? 2 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir.filePath("started")), updates, 15000);
    }

    void release_data()
    {
        QTest::addColumn<Served>("served");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("told");

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
        QTest::newRow("program cut off, length unknown")
            << with(&Served::program, unannounced(newProgram.left(200000))) << QString() << QString("Nimbrel differs");
        QTest::newRow("program stalls") << with(&Served::program,
                                                {ok(newProgram).head, newProgram, CannedReply::Stalled})
                                        << QString() << QString("(the server sent nothing for too long)");
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
        start(served, 500, trouble == "deadline" ? 2000 : 600000);
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
        // What the planted links point to is left as it was.
        if (trouble == "links")
            QCOMPARE(readFile(elsewhere.filePath("Nimbrel")), oldProgram);
        // The installed vault, new or old, is the one started.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("started")), 15000);
        QStringList left {"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp", "started"};
        if (trouble == "blocked")
            left.insert(3, "NimbrelUp.old");
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), left);
        // Without a length the bar shows itself busy while the program arrives.
        QCOMPARE(busy, served.program.pace == CannedReply::Paused || trouble == "deadline");
    }

    void interrupted_data()
    {
        QTest::addColumn<bool>("programIntact");
        QTest::newRow("finished") << true;
        QTest::newRow("undone, a download is damaged") << false;
    }

    // Killed between the replaces, the next start finishes the install when
    // every download still left is the signed one, and undoes it otherwise:
    // never a mixed release, nothing left over.
    void interrupted()
    {
        QFETCH(bool, programIntact);
        start({});
        writeDownloads(newProgram);
        ReleaseInstall::stopAfterFiles = 1;
        QString failure;
        QVERIFY(ReleaseInstall(dir->path()).install(*ReleaseDescription::parse(description), failure));
        ReleaseInstall::stopAfterFiles = -1;
        QCOMPARE(readFile(path("Nimbrel")), newProgram);
        QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), oldTranslation);
        if (!programIntact)
            writeDownloads(TestPublisher::changed(newProgram, 100));
        QVERIFY(ReleaseInstall(dir->path()).recover());
        QCOMPARE(readFile(path("Nimbrel")), programIntact ? newProgram : oldProgram);
        QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), programIntact ? newTranslation : oldTranslation);
        QCOMPARE(readFile(path("NimbrelUp")), programIntact ? newUpdater : oldProgram);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList({"Nimbrel", "nimbrel_zh_CN.qm", "NimbrelUp"}));
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
        second.setUp({QUrl("http://127.0.0.1:1/update/"), dir->path(), publisher.publicKey, 500});
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
