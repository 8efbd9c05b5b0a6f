#include "localhttpserver.h"
#include "modalanswer.h"
#include "testpublisher.h"

#include "update/version.h"

#include <QtTest>

#include <list>

using Buttons = QList<QMessageBox::StandardButton>;

class TestVersion : public QObject
{
    Q_OBJECT

    const TestPublisher publisher;
    const QByteArray genuine = TestPublisher::describe(213, "program", "translation");

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
};

QTEST_MAIN(TestVersion)

#include "tst_version.moc"
