#include "localhttpserver.h"
#include "modalanswer.h"

#include <list>
#include "testpublisher.h"
#include "update/version.h"

#include <QAbstractButton>
#include <QDir>
#include <QtTest>

using Buttons = QList<QMessageBox::StandardButton>;

// Answers the message boxes in turn with the buttons and notes each as
// "title: text".
static void answerInTurn(const Buttons &buttons, QStringList &seen, std::list<ModalAnswer> &answers)
{
    for (QMessageBox::StandardButton button : buttons)
        answers.emplace_back(QStringLiteral("Update"), button, [&seen](QWidget *modal) {
            seen.append(modal->windowTitle() + QStringLiteral(": ") + qobject_cast<QMessageBox *>(modal)->text());
        });
}

class TestVersion : public QObject
{
    Q_OBJECT

    const TestPublisher publisher;
    const QByteArray genuine = TestPublisher::describe(213, "program", "translation");

private slots:
    // Only the one spelling of a description counts; anything else is no
    // release at all.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("version");

        const QByteArray program = "sha256 " + TestPublisher::sha256("program") + " Nimbrel\n";
        const QByteArray translation = "sha256 " + TestPublisher::sha256("translation") + " nimbrel_zh_CN.qm\n";
        QTest::newRow("213") << genuine << 213;
        QTest::newRow("212") << TestPublisher::describe(212, "program", "translation") << 212;
        QTest::newRow("version alone") << QByteArray("213\n") << 0;
        QTest::newRow("2.13") << "2.13\n" + program + translation << 0;
        QTest::newRow("no last line end") << genuine.chopped(1) << 0;
        QTest::newRow("line ends CR LF") << QByteArray(genuine).replace("\n", "\r\n") << 0;
        QTest::newRow("files swapped") << "213\n" + translation + program << 0;
        QTest::newRow("upper-case digits")
            << "213\nsha256 " + TestPublisher::sha256("program").toUpper() + " Nimbrel\n" + translation << 0;
        QTest::newRow("short hash") << "213\nsha256 abc Nimbrel\n" + translation << 0;
        QTest::newRow("html page") << htmlPage << 0;
    }

    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, version);
        const std::optional<ReleaseDescription> release = ReleaseDescription::parse(text);
        QCOMPARE(release ? release->version : 0, version);
        if (release) {
            QCOMPARE(release->programSha256, TestPublisher::sha256("program"));
            QCOMPARE(release->translationSha256, TestPublisher::sha256("translation"));
        }
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

        QTest::newRow("213, Yes") << ok(genuine) << signature << Buttons{QMessageBox::Yes} << QString();
        QTest::newRow("213, No") << ok(genuine) << signature << Buttons{QMessageBox::No} << QString();
        QTest::newRow("212") << ok(old) << ok(publisher.sign(old)) << Buttons() << QString();
        QTest::newRow("changed by one byte") << ok(TestPublisher::changed(genuine, 10)) << signature << Buttons()
                                             << QString();
        QTest::newRow("another key") << ok(genuine) << ok(TestPublisher().sign(genuine)) << Buttons() << QString();
        QTest::newRow("no signature") << ok(genuine) << httpReply("404 Not Found", htmlPage) << Buttons()
                                      << QString();
        QTest::newRow("html page") << ok(htmlPage) << signature << Buttons() << QString();
        QTest::newRow("edits not written") << ok(genuine) << signature << Buttons{QMessageBox::Yes, QMessageBox::Ok}
                                           << QStringLiteral("edits not written");
        QTest::newRow("no updater") << ok(genuine) << signature << Buttons{QMessageBox::Yes, QMessageBox::Ok}
                                    << QStringLiteral("no updater");
        QTest::newRow("refused connection") << ok(genuine) << signature << Buttons() << QStringLiteral("no server");
        QTest::newRow("no key built in") << ok(genuine) << signature << Buttons() << QStringLiteral("no key");
    }

    void check()
    {
        QFETCH(CannedReply, description);
        QFETCH(CannedReply, signature);
        QFETCH(Buttons, buttons);
        QFETCH(QString, trouble);
        QTemporaryDir dir;
        if (trouble != QStringLiteral("no updater"))
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(),
                                ProgramFiles::pathIn(dir.path(), ProgramFiles::updaterName())));
        qputenv(standInMark, dir.filePath(QStringLiteral("started")).toLocal8Bit());
        auto server = serve({{QStringLiteral("/update/Nimbrel.txt"), description},
                             {QStringLiteral("/update/Nimbrel.txt.sig"), signature}});
        const QUrl serverUrl(QStringLiteral("http://127.0.0.1:%1").arg(server->serverPort()));
        if (trouble == QStringLiteral("no server"))
            server->close();

        Version version;
        UpdateSetup setup{serverUrl, dir.path(), publisher.publicKey};
        if (trouble == QStringLiteral("no key"))
            setup.publicKey.clear();
        version.setUp(setup);
        int saves = 0;
        version.saveEdits = [&]() { return ++saves, trouble != QStringLiteral("edits not written"); };
        QSignalSpy done(&version, &Version::done);
        QStringList seen;
        std::list<ModalAnswer> answers;
        answerInTurn(buttons, seen, answers);
        QCOMPARE(version.startDownload(version.versionFileUrl()), trouble != QStringLiteral("no key"));
        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), buttons.size(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(QDir(dir.path()).entryList({QStringLiteral("Nimbrel.txt*")}), QStringList(), 15000);
        QTest::qWait(100);

        const bool updates = buttons == Buttons{QMessageBox::Yes};
        QCOMPARE(seen.value(0),
                 buttons.isEmpty() ? QString() : QStringLiteral("Update: New version is checked, update now?"));
        if (trouble == QStringLiteral("edits not written"))
            QVERIFY(seen.value(1).contains(QStringLiteral("put off")));
        if (trouble == QStringLiteral("no updater"))
            QVERIFY(seen.value(1).contains(QStringLiteral("could not be started")));
        QCOMPARE(saves, buttons.value(0) == QMessageBox::Yes ? 1 : 0);
        QCOMPARE(done.count(), updates ? 1 : 0);
        const bool asks = trouble != QStringLiteral("no key") && trouble != QStringLiteral("no server");
        QCOMPARE(server->property("requests").toInt(), asks ? 2 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("started"))), updates, 15000);
    }
};

QTEST_MAIN(TestVersion)

#include "tst_version.moc"
