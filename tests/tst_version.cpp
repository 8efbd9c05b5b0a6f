#include "localhttpserver.h"
#include "mainwindow/mainwindow.h"
#include "teststore.h"
#include "update/version.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTableView>
#include <QtTest>

using Buttons = QList<QMessageBox::StandardButton>;

// While the timer lives, answers each message box with the next of the
// buttons (rejecting any box beyond them) and notes it as "title: text".
std::unique_ptr<QTimer> answerInTurn(const Buttons &buttons, QStringList &seen)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [buttons, &seen]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.append(box->windowTitle() + QStringLiteral(": ") + box->text());
        if (QAbstractButton *button = box->button(buttons.value(seen.size() - 1)))
            button->click();
        else
            box->reject();
    });
    timer->start(10);
    return timer;
}

class TestVersion : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<CannedReply>("reply");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("trouble");

        const auto ok = [](const QByteArray &body) { return httpReply("200 OK", body); };

        QTest::newRow("212") << ok("212\n") << Buttons() << QString();
        QTest::newRow("213, No") << ok("213\n") << Buttons{QMessageBox::No} << QString();
        QTest::newRow("213, Yes") << ok("213\n") << Buttons{QMessageBox::Yes} << QString();
        QTest::newRow("213, no updater") << ok("213\n") << Buttons{QMessageBox::Yes, QMessageBox::Ok}
                                         << QStringLiteral("no updater");
        // The store's message comes between the question and the put-off.
        QTest::newRow("213, store refuses")
            << ok("213\n") << Buttons{QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Ok} << QStringLiteral("store refuses");
        QTest::newRow("extra lines") << ok("213\nnew types\n") << Buttons{QMessageBox::No} << QString();
        QTest::newRow("empty line") << ok("\n213\n") << Buttons() << QString();
        QTest::newRow("2.13") << ok("2.13\n") << Buttons() << QString();
        QTest::newRow("html page") << ok(htmlPage) << Buttons() << QString();
        QTest::newRow("404 saying 213") << httpReply("404 Not Found", "213\n") << Buttons() << QString();
        QTest::newRow("refused connection") << ok("213\n") << Buttons() << QStringLiteral("no server");
    }

    // The check at start, with a card name typed but not yet written.
    void check()
    {
        QFETCH(CannedReply, reply);
        QFETCH(Buttons, buttons);
        QFETCH(QString, trouble);
        TestStore store;
        store.exec(QStringLiteral("insert into category values(1, 'Home')"));
        store.exec(QStringLiteral("insert into card values(1, 13, 'old name', 1)"));
        MainWindow window;
        QAbstractItemModel *model = window.findChild<QTableView *>()->model();
        QVERIFY(model->setData(model->index(0, 2), QStringLiteral("typed name")));
        if (trouble == QStringLiteral("store refuses"))
            store.makeReadOnly();
        QTemporaryDir dir;
        if (trouble != QStringLiteral("no updater"))
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(),
                                ProgramFiles::pathIn(dir.path(), ProgramFiles::updaterName())));
        qputenv(standInMark, dir.filePath(QStringLiteral("started")).toLocal8Bit());
        auto server = serve({{QStringLiteral("/update/Nimbrel.txt"), reply}});
        const QUrl url = Version::versionFileUrl(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server->serverPort())));
        if (trouble == QStringLiteral("no server"))
            server->close();

        Version version;
        version.setProgramDir(dir.path());
        QSignalSpy done(&version, &Version::done);
        QStringList seen;
        const auto answers = answerInTurn(buttons, seen);
        QVERIFY(version.startDownload(url));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(dir.filePath(QStringLiteral("Nimbrel.txt"))), 15000);

        const bool updates = buttons == Buttons{QMessageBox::Yes};
        const bool written = buttons.value(0) == QMessageBox::Yes && trouble != QStringLiteral("store refuses");
        QCOMPARE(seen.size(), buttons.size());
        QCOMPARE(seen.value(0),
                 buttons.isEmpty() ? QString() : QStringLiteral("Update: New version is checked, update now?"));
        QCOMPARE(done.count(), updates ? 1 : 0);
        QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("typed name"));
        QCOMPARE(store.value(QStringLiteral("select name from card where id = 1")).toString(),
                 written ? QStringLiteral("typed name") : QStringLiteral("old name"));
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("started"))), updates, 15000);
    }
};

QTEST_MAIN(TestVersion)

#include "tst_version.moc"
