#include "localhttpserver.h"
#include "programfiles.h"
#include "widget.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <cstdio>
#include <memory>

Q_DECLARE_METATYPE(CannedReply)

namespace {

// Started as the vault program, the test program only notes its own path here.
const char *const standInMark = "NIMBREL_TEST_STANDIN_MARK";
const QString translationName = QStringLiteral("nimbrel_zh_CN.qm");
const QByteArray qmMagic = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

} // namespace

class TestUpdater : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void normalRun();
    void lengthNotAnnounced();
    void failedDownload_data();
    void failedDownload();
    void secondRunAfterAFinishedOne();
    void replaceThatFails();
    void closedWhileDownloading();
    void oneDownloadAtATime();
    void window();

private:
    QString programPath() const { return dir->filePath(ProgramFiles::vaultName()); }
    QString translationPath() const { return dir->filePath(translationName); }
    QString programUrlPath() const { return QStringLiteral("/update/") + ProgramFiles::vaultName(); }
    QString translationUrlPath() const { return QStringLiteral("/update/") + translationName; }
    QString marker() const { return dir->filePath(QStringLiteral("started")); }
    QString startedAs() const { return QString::fromLocal8Bit(readFile(marker())); }
    QStringList downloadsLeft() const
    {
        return QDir(dir->path()).entryList({QStringLiteral("*.bak")}, QDir::AllEntries | QDir::Hidden);
    }
    std::unique_ptr<Widget> makeWidget() const;
    void publish(const CannedReply &programReply, const CannedReply &translationReply) const;

    QByteArray program;
    QByteArray translation;
    const QByteArray oldProgram = "the installed program";
    const QByteArray oldTranslation = qmMagic + "the installed translation";
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LocalHttpServer> server;
};

void TestUpdater::initTestCase()
{
    // The new vault program is this test program, which only notes that it ran.
    program = readFile(QCoreApplication::applicationFilePath());
    QVERIFY(program.size() > 1000);
    translation = qmMagic + QByteArray(20000, 'T');
}

void TestUpdater::init()
{
    dir = std::make_unique<QTemporaryDir>();
    server = std::make_unique<LocalHttpServer>();
    qputenv(standInMark, marker().toLocal8Bit());
    writeFile(programPath(), oldProgram);
    writeFile(translationPath(), oldTranslation);
}

void TestUpdater::cleanup()
{
    server.reset();
    dir.reset();
}

std::unique_ptr<Widget> TestUpdater::makeWidget() const
{
    auto widget = std::make_unique<Widget>();
    widget->setServer(server->base());
    widget->setProgramDir(dir->path());
    widget->show();
    return widget;
}

void TestUpdater::publish(const CannedReply &programReply, const CannedReply &translationReply) const
{
    server->publish(programUrlPath(), programReply);
    server->publish(translationUrlPath(), translationReply);
}

void TestUpdater::normalRun()
{
    publish(CannedReply::ok(program), CannedReply::ok(translation));
    auto widget = makeWidget();
    QList<QPair<int, int>> progress;
    connect(widget.get(), &QProgressBar::valueChanged, widget.get(),
            [&progress, &widget](int value) { progress.append({value, widget->maximum()}); });
    QSignalSpy done(widget.get(), &Widget::done);

    QVERIFY(widget->startDownload(widget->fileUrl(0)));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);

    QCOMPARE(readFile(programPath()), program);
    QCOMPARE(readFile(translationPath()), translation);
    QVERIFY(QFileInfo(programPath()).isExecutable());
    QCOMPARE(downloadsLeft(), QStringList());
    QTRY_COMPARE_WITH_TIMEOUT(startedAs(), ProgramFiles::pathIn(dir->path(), ProgramFiles::vaultName()), 15000);

    // The bar filled for each file in turn.
    const int programFull = progress.indexOf({int(program.size()), int(program.size())});
    const int translationFull = progress.indexOf({int(translation.size()), int(translation.size())});
    QVERIFY(programFull >= 0);
    QVERIFY(translationFull > programFull);
}

void TestUpdater::lengthNotAnnounced()
{
    CannedReply unannounced = CannedReply::ok(program);
    unannounced.announceLength = false;
    unannounced.hold = true;
    publish(unannounced, CannedReply::ok(translation));
    auto widget = makeWidget();
    QSignalSpy done(widget.get(), &Widget::done);

    QVERIFY(widget->startDownload(widget->fileUrl(0)));
    QTRY_COMPARE(server->requests(programUrlPath()), 1);
    QTest::qWait(150);
    server->release(1000);
    // Part of the program has arrived: the bar shows itself busy.
    QTRY_COMPARE(widget->maximum(), 0);
    QCOMPARE(widget->minimum(), 0);
    server->release();
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QCOMPARE(readFile(programPath()), program);
    QCOMPARE(readFile(translationPath()), translation);
}

void TestUpdater::failedDownload_data()
{
    QTest::addColumn<CannedReply>("programReply");
    QTest::addColumn<CannedReply>("translationReply");
    QTest::addColumn<bool>("programInstalled");

    CannedReply droppedProgram = CannedReply::ok(program);
    droppedProgram.dropAfter = int(program.size() / 2);
    CannedReply droppedTranslation = CannedReply::ok(translation);
    droppedTranslation.dropAfter = int(translation.size() / 2);
    const CannedReply page = CannedReply::ok(CannedReply::htmlPage());
    const CannedReply newProgram = CannedReply::ok(program);
    const CannedReply newTranslation = CannedReply::ok(translation);

    QTest::newRow("program: 404") << CannedReply::notFound() << newTranslation << false;
    QTest::newRow("program: body dropped") << droppedProgram << newTranslation << false;
    QTest::newRow("program: html page with 200") << page << newTranslation << false;
    QTest::newRow("program: a script, not a program")
        << CannedReply::ok("#!/bin/sh\necho updated\n") << newTranslation << false;
    QTest::newRow("translation: 404") << newProgram << CannedReply::notFound() << true;
    QTest::newRow("translation: body dropped") << newProgram << droppedTranslation << true;
    QTest::newRow("translation: html page with 200") << newProgram << page << true;
    QTest::newRow("translation: a program") << newProgram << newProgram << true;
}

void TestUpdater::failedDownload()
{
    QFETCH(CannedReply, programReply);
    QFETCH(CannedReply, translationReply);
    QFETCH(bool, programInstalled);
    publish(programReply, translationReply);
    auto widget = makeWidget();
    QSignalSpy done(widget.get(), &Widget::done);

    QVERIFY(widget->startDownload(widget->fileUrl(0)));
    const QString failingPath = programInstalled ? translationUrlPath() : programUrlPath();
    QTRY_VERIFY_WITH_TIMEOUT(server->requests(failingPath) == 1 && downloadsLeft().isEmpty(), 20000);
    QTest::qWait(100);

    QCOMPARE(readFile(programPath()), programInstalled ? program : oldProgram);
    QCOMPARE(readFile(translationPath()), oldTranslation);
    QCOMPARE(server->requests(translationUrlPath()), programInstalled ? 1 : 0);
    QCOMPARE(done.count(), 0);
    QVERIFY(widget->isVisible());
    QVERIFY(startedAs().isEmpty());
}

void TestUpdater::secondRunAfterAFinishedOne()
{
    publish(CannedReply::ok(program), CannedReply::ok(translation));
    {
        auto first = makeWidget();
        QSignalSpy done(first.get(), &Widget::done);
        QVERIFY(first->startDownload(first->fileUrl(0)));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!startedAs().isEmpty(), 15000);
    QVERIFY(QFile::remove(marker()));

    // A program with a few bytes more still runs.
    const QByteArray secondProgram = program + "second";
    const QByteArray secondTranslation = qmMagic + "second";
    publish(CannedReply::ok(secondProgram), CannedReply::ok(secondTranslation));
    auto second = makeWidget();
    QSignalSpy done(second.get(), &Widget::done);
    QVERIFY(second->startDownload(second->fileUrl(0)));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);

    QCOMPARE(server->requests(programUrlPath()), 2);
    QCOMPARE(server->requests(translationUrlPath()), 2);
    QCOMPARE(readFile(programPath()), secondProgram);
    QCOMPARE(readFile(translationPath()), secondTranslation);
    QCOMPARE(downloadsLeft(), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(!startedAs().isEmpty(), 15000);
}

void TestUpdater::replaceThatFails()
{
    // Root writes anywhere, so the replace is made to fail by an installed
    // "program" that is a directory with something in it.
    QVERIFY(QFile::remove(programPath()));
    QVERIFY(QDir(dir->path()).mkpath(ProgramFiles::vaultName()));
    writeFile(programPath() + QStringLiteral("/kept"), oldProgram);
    publish(CannedReply::ok(program), CannedReply::ok(translation));
    auto widget = makeWidget();
    QSignalSpy done(widget.get(), &Widget::done);

    QVERIFY(widget->startDownload(widget->fileUrl(0)));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QCOMPARE(readFile(programPath() + QStringLiteral("/kept")), oldProgram);
    QCOMPARE(readFile(programPath() + QStringLiteral(".bak")), program);
    QCOMPARE(readFile(translationPath()), translation);
}

void TestUpdater::closedWhileDownloading()
{
    CannedReply held = CannedReply::ok(program);
    held.hold = true;
    publish(held, CannedReply::ok(translation));
    auto widget = makeWidget();
    QVERIFY(widget->startDownload(widget->fileUrl(0)));
    QTRY_COMPARE(server->requests(programUrlPath()), 1);
    QTest::qWait(150);
    server->release(1000);
    QTRY_VERIFY(widget->value() > 0);
    widget.reset();

    QCOMPARE(downloadsLeft(), QStringList());
    QCOMPARE(readFile(programPath()), oldProgram);
    server->release();
    QTest::qWait(100);
    QCOMPARE(server->requests(translationUrlPath()), 0);
}

void TestUpdater::oneDownloadAtATime()
{
    publish(CannedReply::ok(program), CannedReply::ok(translation));
    auto widget = makeWidget();
    QSignalSpy done(widget.get(), &Widget::done);
    QVERIFY(widget->startDownload(widget->fileUrl(0)));
    QVERIFY(!widget->startDownload(widget->fileUrl(1)));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QCOMPARE(server->requests(translationUrlPath()), 1);

    // Nowhere to write the download: no request at all.
    Widget nowhere;
    nowhere.setServer(server->base());
    nowhere.setProgramDir(dir->filePath(QStringLiteral("missing")));
    QVERIFY(!nowhere.startDownload(nowhere.fileUrl(0)));
    QTest::qWait(100);
    QCOMPARE(server->requests(programUrlPath()), 1);
}

void TestUpdater::window()
{
    Widget widget;
    widget.placeOnScreen();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(widget.geometry(), QRect(screen.width() / 3, screen.height() / 2, 250, 30));
    QVERIFY(!widget.windowIcon().isNull());
    QCOMPARE(widget.minimum(), 0);

    const QUrl published = widget.fileUrl(0);
    QCOMPARE(published.scheme(), QStringLiteral("http"));
    QVERIFY(published.host().endsWith(QStringLiteral(".example.org")));
    QCOMPARE(published.port(80), 80);
    QCOMPARE(widget.fileUrl(1).path(), QStringLiteral("/update/nimbrel_zh_CN.qm"));
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
    TestUpdater test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updater.moc"
