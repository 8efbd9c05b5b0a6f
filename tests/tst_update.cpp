// Updates end to end over a local server: the vault's check of a published
// release, and the updater that downloads, verifies and installs it.
#include "localhttpserver.h"
#include "modalanswer.h"
#include "testpublisher.h"
#include "update/version.h"
#include "widget.h"

#include <QtTest>

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
    CannedReply description, signature, program, translation;
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
    const QByteArray description = TestPublisher::describe(213, newProgram, newTranslation);
    // A release of small stand-ins, for the vault's check, which downloads no program.
    const QByteArray genuine = TestPublisher::describe(213, "program", "translation");
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTcpServer> server;
    std::unique_ptr<Widget> widget;

    QString path(const char *name) const { return dir->filePath(QString::fromLatin1(name)); }

    // Installs the old pair, publishes the served files and starts the updater.
    void start(const Served &served, int stallTimeoutMs = 30000)
    {
        dir = std::make_unique<QTemporaryDir>();
        qputenv(standInMark, path("started").toLocal8Bit());
        QFile program(path("Nimbrel"));
        QVERIFY(program.open(QIODevice::WriteOnly) && program.write(oldProgram) == oldProgram.size());
        QVERIFY(program.setPermissions(program.permissions() | QFileDevice::ExeOwner));
        QFile translation(path("nimbrel_zh_CN.qm"));
        QVERIFY(translation.open(QIODevice::WriteOnly) && translation.write(oldTranslation) > 0);
        server = serve({{"/update/Nimbrel.txt", served.description}, {"/update/Nimbrel.txt.sig", served.signature},
                        {"/update/Nimbrel", served.program}, {"/update/nimbrel_zh_CN.qm", served.translation}});
        widget = std::make_unique<Widget>();
        widget->setUp({QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server->serverPort())), dir->path(),
                       publisher.publicKey, stallTimeoutMs});
        widget->show();
        widget->start();
    }

private slots:
    // Only the one spelling of a description counts: one cut short, with
    // its files swapped or a hash missing is no release at all.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        const QByteArray program = "sha256 " + TestPublisher::sha256("program") + " Nimbrel\n";
        const QByteArray translation = "sha256 " + TestPublisher::sha256("translation") + " nimbrel_zh_CN.qm\n";
        QTest::newRow("no last line end") << genuine.chopped(1);
        QTest::newRow("files swapped") << "213\n" + translation + program;
        QTest::newRow("short hash") << "213\nsha256 abc Nimbrel\n" + translation;
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
        const QByteArray old = TestPublisher::describe(212, "program", "translation");
        const CannedReply signature = ok(publisher.sign(genuine));
        const Buttons yesThenOk{QMessageBox::Yes, QMessageBox::Ok};

        QTest::newRow("213, Yes") << ok(genuine) << signature << Buttons{QMessageBox::Yes} << QString();
        QTest::newRow("213, No") << ok(genuine) << signature << Buttons{QMessageBox::No} << QString();
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
        const QUrl serverUrl(QString("http://127.0.0.1:%1").arg(server->serverPort()));
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
        const bool updates = buttons == Buttons{QMessageBox::Yes};
        QCOMPARE(saves, buttons.value(0) == QMessageBox::Yes ? 1 : 0);
        QCOMPARE(done.count(), updates ? 1 : 0);
        const bool asks = trouble != "no key" && trouble != "no server";
        QCOMPARE(server->property("requests").toInt(), asks ? 2 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir.filePath("started")), updates, 15000);
    }

    void release_data()
    {
        QTest::addColumn<Served>("served");
        QTest::addColumn<bool>("translationIsDirectory");
        QTest::addColumn<QString>("told");

        const auto ok = [](const QByteArray &body) { return httpReply("200 OK", body); };
        const Served genuine{ok(description), ok(publisher.sign(description)), ok(newProgram), ok(newTranslation)};
        const auto with = [&genuine](CannedReply Served::*file, const CannedReply &reply) {
            Served served = genuine;
            served.*file = reply;
            return served;
        };

        // A failure is told by its cause; the current version stays.
        QTest::newRow("genuine") << genuine << false << QString();
        QTest::newRow("genuine, length unknown")
            << with(&Served::program, unannounced(newProgram, CannedReply::Paused)) << false << QString();
        QTest::newRow("program changed by one byte")
            << with(&Served::program, ok(TestPublisher::changed(newProgram, 100))) << false
            << QString("Nimbrel differs");
        QTest::newRow("translation changed by one byte")
            << with(&Served::translation, ok(TestPublisher::changed(newTranslation, 20010))) << false
            << QString("nimbrel_zh_CN.qm differs");
        QTest::newRow("signature by another key")
            << with(&Served::signature, ok(TestPublisher().sign(description))) << false << QString("not signed");
        QTest::newRow("no signature") << with(&Served::signature, httpReply("404 Not Found", htmlPage)) << false
                                      << QString("(the server answered 404)");
        QTest::newRow("program cut off, length unknown")
            << with(&Served::program, unannounced(newProgram.left(200000))) << false << QString("Nimbrel differs");
        QTest::newRow("program stalls")
            << with(&Served::program, {ok(newProgram).head, newProgram, CannedReply::Stalled}) << false
            << QString("(the server sent nothing for too long)");
        // Root writes anywhere: a replace fails on an installed file that is
        // a directory with something in it.
        QTest::newRow("translation replace fails after the program's")
            << genuine << true << QString("could not be put in place");
    }

    void release()
    {
        QFETCH(Served, served);
        QFETCH(bool, translationIsDirectory);
        QFETCH(QString, told);
        const bool installs = told.isEmpty();
        // Only a failure is told, in a box.
        std::optional<ModalAnswer> box;
        if (!installs)
            box.emplace(QStringLiteral("Update"));
        start(served, 500);
        if (translationIsDirectory) {
            QVERIFY(QFile::remove(path("nimbrel_zh_CN.qm")));
            QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("nimbrel_zh_CN.qm/kept")));
        }
        QSignalSpy done(widget.get(), &Widget::done);
        bool busy = false;
        connect(widget.get(), &QProgressBar::valueChanged, &done, [&]() { busy = busy || widget->maximum() == 0; });
        QVERIFY(done.wait(20000));

        const QString text = box ? box->text : QString();
        QVERIFY2(text.contains(told), qPrintable(text));
        QCOMPARE(readFile(path("Nimbrel")), installs ? newProgram : oldProgram);
        if (translationIsDirectory)
            QVERIFY(QFileInfo(path("nimbrel_zh_CN.qm/kept")).isDir());
        else
            QCOMPARE(readFile(path("nimbrel_zh_CN.qm")), installs ? newTranslation : oldTranslation);
        // The installed vault, new or old, is the one started.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("started")), 15000);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"Nimbrel", "nimbrel_zh_CN.qm", "started"}));
        // Without a length the bar shows itself busy while the program arrives.
        QCOMPARE(busy, served.program.pace == CannedReply::Paused);
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
        start({httpReply("200 OK", description), httpReply("200 OK", publisher.sign(description)),
               unannounced(newProgram, CannedReply::Stalled), httpReply("200 OK", newTranslation)});
        QTRY_VERIFY(QFileInfo(path("Nimbrel.bak")).size() > 0);
        QSignalSpy done(widget.get(), &Widget::done);
        if (byTheUser)
            widget->close();
        widget.reset();
        QCOMPARE(done.count(), byTheUser ? 1 : 0);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList({"Nimbrel", "nimbrel_zh_CN.qm"}));
        QCOMPARE(readFile(path("Nimbrel")), oldProgram);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(path("started")), byTheUser, 5000);
    }
};

QTEST_MAIN(TestUpdate)

#include "tst_update.moc"
