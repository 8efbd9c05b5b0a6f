#include "localhttpserver.h"
#include "mainwindow/mainwindow.h"
#include "modalanswer.h"
#include "programfiles.h"
#include "teststore.h"
#include "update/version.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>
#include <QSqlTableModel>
#include <QTableView>
#include <QtTest>
#include <cstdio>
#include <memory>

Q_DECLARE_METATYPE(CannedReply)

namespace {

// Started as the updater, the test program only notes its own path here.
const char *const standInMark = "NIMBREL_TEST_STANDIN_MARK";
const QString versionPath = QStringLiteral("/update/Nimbrel.txt");

// Closes and counts any modal box while it lives.
class UnexpectedBoxes
{
public:
    UnexpectedBoxes()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this]() {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++count;
                modal->close();
            }
        });
        timer.start();
    }
    int count = 0;

private:
    QTimer timer;
};

// Answers the next message boxes in turn, recording each.
void answerInTurn(QList<QMessageBox::StandardButton> buttons, std::shared_ptr<QList<SeenBox>> seen)
{
    if (buttons.isEmpty())
        return;
    const QMessageBox::StandardButton button = buttons.takeFirst();
    onNextModal([buttons, seen, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        seen->append(box ? SeenBox{true, box->windowTitle(), box->text()} : SeenBox{});
        answerInTurn(buttons, seen);
        if (box && box->button(button))
            box->button(button)->click();
        else
            modal->close();
    });
}

std::shared_ptr<QList<SeenBox>> answerBoxes(const QList<QMessageBox::StandardButton> &buttons)
{
    auto seen = std::make_shared<QList<SeenBox>>();
    answerInTurn(buttons, seen);
    return seen;
}

} // namespace

class TestVersion : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstLine_data();
    void firstLine();
    void refusedConnection();
    void yesStartsTheUpdater();
    void updaterThatCannotStart();
    void pendingEditsWrittenBeforeQuitting();
    void noUpdateWhenEditsCannotBeWritten();
    void oneDownloadAtATime();
    void destroyedWhileDownloading();

private:
    QString versionFile() const { return dir->filePath(QStringLiteral("Nimbrel.txt")); }
    QString marker() const { return dir->filePath(QStringLiteral("started")); }
    // The path the stand-in updater was started from, empty while it has not run.
    QString startedAs() const;
    void installStandInUpdater() const;
    void runCheck(Version &version);
    MainWindow *openMainWindowWithEdit(TestStore &store);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LocalHttpServer> server;
};

void TestVersion::init()
{
    dir = std::make_unique<QTemporaryDir>();
    server = std::make_unique<LocalHttpServer>();
    qputenv(standInMark, marker().toLocal8Bit());
}

void TestVersion::cleanup()
{
    server.reset();
    dir.reset();
    QVERIFY(!QApplication::activeModalWidget());
}

void TestVersion::installStandInUpdater() const
{
    const QString updater = dir->filePath(ProgramFiles::updaterName());
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), updater));
    QVERIFY(QFile::setPermissions(updater, QFile::permissions(updater) | QFile::ExeOwner));
}

QString TestVersion::startedAs() const
{
    QFile started(marker());
    return started.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(started.readAll()) : QString();
}

// Starts the check against the local server and waits for its end, which
// removes the version file.
void TestVersion::runCheck(Version &version)
{
    version.setProgramDir(dir->path());
    QVERIFY(version.startDownload(Version::versionFileUrl(server->base())));
    QVERIFY(QFile::exists(versionFile()));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(versionFile()), 15000);
    QCOMPARE(server->requests(versionPath), 1);
}

void TestVersion::firstLine_data()
{
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<bool>("asks");

    CannedReply serverError{"500 Internal Server Error", "213\n"};
    CannedReply notFound{"404 Not Found", "213\n"};
    CannedReply unannounced = CannedReply::ok("213\n");
    unannounced.announceLength = false;
    CannedReply dropped = CannedReply::ok("2134\n");
    dropped.dropAfter = 3;

    QTest::newRow("212") << CannedReply::ok("212\n") << false;
    QTest::newRow("213") << CannedReply::ok("213\n") << true;
    QTest::newRow("213 with CR LF") << CannedReply::ok("213\r\n") << true;
    QTest::newRow("213 without line end") << CannedReply::ok("213") << true;
    QTest::newRow("extra lines below 213") << CannedReply::ok("213\nnew card types\n2.13\n") << true;
    QTest::newRow("only the first line counts") << CannedReply::ok("212\n999\n") << false;
    QTest::newRow("empty first line") << CannedReply::ok("\n213\n") << false;
    QTest::newRow("2.13") << CannedReply::ok("2.13\n") << false;
    QTest::newRow("negative") << CannedReply::ok("-300\n") << false;
    QTest::newRow("html page") << CannedReply::ok(CannedReply::htmlPage()) << false;
    QTest::newRow("404 whose body says 213") << notFound << false;
    QTest::newRow("500 whose body says 213") << serverError << false;
    QTest::newRow("length not announced") << unannounced << true;
    QTest::newRow("body shorter than announced") << dropped << false;
}

void TestVersion::firstLine()
{
    QFETCH(CannedReply, reply);
    QFETCH(bool, asks);
    server->publish(versionPath, reply);
    Version version;
    QSignalSpy done(&version, &Version::done);

    if (asks) {
        auto seen = answerNextBox(QMessageBox::No);
        runCheck(version);
        QVERIFY(seen->seen);
        QCOMPARE(seen->title, QStringLiteral("Update"));
        QCOMPARE(seen->text, QStringLiteral("New version is checked, update now?"));
    } else {
        UnexpectedBoxes boxes;
        runCheck(version);
        QCOMPARE(boxes.count, 0);
    }
    QCOMPARE(done.count(), 0);
    QVERIFY(!QFile::exists(versionFile()));
}

void TestVersion::refusedConnection()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();

    Version version;
    version.setProgramDir(dir->path());
    QSignalSpy done(&version, &Version::done);
    UnexpectedBoxes boxes;
    QVERIFY(version.startDownload(QUrl(QStringLiteral("http://127.0.0.1:%1/update/Nimbrel.txt").arg(port))));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(versionFile()), 15000);
    QCOMPARE(boxes.count, 0);
    QCOMPARE(done.count(), 0);
}

void TestVersion::yesStartsTheUpdater()
{
    const QUrl published = Version::versionFileUrl();
    QCOMPARE(published.scheme(), QStringLiteral("http"));
    QVERIFY(published.host().endsWith(QStringLiteral(".example.org")));
    QCOMPARE(published.port(80), 80);

    installStandInUpdater();
    server->publish(versionPath, CannedReply::ok("213\n"));
    Version version;
    QSignalSpy done(&version, &Version::done);
    auto seen = answerNextBox(QMessageBox::Yes);
    runCheck(version);
    QVERIFY(seen->seen);
    QCOMPARE(done.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(startedAs(), ProgramFiles::pathIn(dir->path(), ProgramFiles::updaterName()), 15000);
}

void TestVersion::updaterThatCannotStart()
{
    server->publish(versionPath, CannedReply::ok("213\n"));
    Version version;
    QSignalSpy done(&version, &Version::done);
    auto seen = answerBoxes({QMessageBox::Yes, QMessageBox::Ok});
    runCheck(version);
    QCOMPARE(seen->size(), 2);
    QCOMPARE(seen->at(1).title, QStringLiteral("Update"));
    QVERIFY(seen->at(1).text.contains(ProgramFiles::updaterName()));
    QCOMPARE(done.count(), 0);
}

MainWindow *TestVersion::openMainWindowWithEdit(TestStore &store)
{
    store.exec(QStringLiteral("insert into category values(1, 'Home')"));
    store.exec(QStringLiteral("insert into card values(1, 13, 'old name', 1)"));
    auto *window = new MainWindow;
    window->show();
    auto *model = qobject_cast<QSqlTableModel *>(window->findChild<QTableView *>()->model());
    model->setData(model->index(0, 2), QStringLiteral("typed name"));
    return window;
}

void TestVersion::pendingEditsWrittenBeforeQuitting()
{
    TestStore store;
    std::unique_ptr<MainWindow> window(openMainWindowWithEdit(store));
    installStandInUpdater();
    server->publish(versionPath, CannedReply::ok("213\n"));
    Version version;
    QSignalSpy done(&version, &Version::done);
    auto seen = answerNextBox(QMessageBox::Yes);
    runCheck(version);
    QCOMPARE(done.count(), 1);
    QCOMPARE(store.value(QStringLiteral("select name from card where id = 1")).toString(),
             QStringLiteral("typed name"));
    QTRY_VERIFY_WITH_TIMEOUT(!startedAs().isEmpty(), 15000);
}

void TestVersion::noUpdateWhenEditsCannotBeWritten()
{
    TestStore store;
    std::unique_ptr<MainWindow> window(openMainWindowWithEdit(store));
    store.makeReadOnly();
    installStandInUpdater();
    server->publish(versionPath, CannedReply::ok("213\n"));
    Version version;
    QSignalSpy done(&version, &Version::done);
    // The question, the store's refusal, then why there is no update.
    auto seen = answerBoxes({QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Ok});
    runCheck(version);
    QCOMPARE(seen->size(), 3);
    QCOMPARE(seen->at(2).title, QStringLiteral("Update"));
    QCOMPARE(done.count(), 0);
    QTest::qWait(200);
    QVERIFY(startedAs().isEmpty());
    auto *model = qobject_cast<QSqlTableModel *>(window->findChild<QTableView *>()->model());
    QVERIFY(model->isDirty());
    QCOMPARE(store.value(QStringLiteral("select name from card where id = 1")).toString(),
             QStringLiteral("old name"));
}

void TestVersion::oneDownloadAtATime()
{
    CannedReply held = CannedReply::ok("212\n" + QByteArray(4000, ' '));
    held.hold = true;
    server->publish(versionPath, held);
    Version version;
    version.setProgramDir(dir->path());
    const QUrl url = Version::versionFileUrl(server->base());
    QVERIFY(version.startDownload(url));
    QVERIFY(!version.startDownload(url));
    QTRY_COMPARE(server->requests(versionPath), 1);
    server->release();
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(versionFile()), 15000);
    QCOMPARE(server->requests(versionPath), 1);

    Version nowhere;
    nowhere.setProgramDir(dir->filePath(QStringLiteral("missing")));
    QVERIFY(!nowhere.startDownload(url));
    QTest::qWait(100);
    QCOMPARE(server->requests(versionPath), 1);
}

void TestVersion::destroyedWhileDownloading()
{
    CannedReply held = CannedReply::ok("213\n" + QByteArray(4000, ' '));
    held.hold = true;
    server->publish(versionPath, held);
    UnexpectedBoxes boxes;
    {
        Version version;
        version.setProgramDir(dir->path());
        QVERIFY(version.startDownload(Version::versionFileUrl(server->base())));
        QTRY_COMPARE(server->requests(versionPath), 1);
        QTest::qWait(100);
    }
    QVERIFY(!QFile::exists(versionFile()));
    server->release();
    QTest::qWait(100);
    QCOMPARE(boxes.count, 0);
}

int main(int argc, char *argv[])
{
    const QByteArray mark = qgetenv(standInMark);
    if (!mark.isEmpty()) {
        if (std::FILE *out = std::fopen(mark.constData(), "w")) {
            std::fputs(argv[0], out);
            std::fclose(out);
        }
        return 0;
    }
    QApplication app(argc, argv);
    TestVersion test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_version.moc"
