#include "localhttpserver.h"
#include "programfiles.h"
#include "widget.h"

#include <QDir>
#include <QtTest>

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestUpdater : public QObject
{
    Q_OBJECT

    // The new vault program is this test program, which only notes that it ran.
    const QByteArray program = readFile(QCoreApplication::applicationFilePath());
    // A Qt translation file begins with its magic number.
    const QByteArray translation = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd") + QByteArray(20000, 'T');
    const QList<QByteArray> oldFiles{"the installed program", translation.left(16) + "the installed translation"};
    const QStringList fileNames{ProgramFiles::vaultName(), QStringLiteral("nimbrel_zh_CN.qm")};
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTcpServer> server;
    std::unique_ptr<Widget> widget;

    QString installed(int step) const { return dir->filePath(fileNames.at(step)); }

    // Installs the old files, publishes the new ones and starts the updater.
    void start(const CannedReply &programReply, const CannedReply &translationReply)
    {
        dir = std::make_unique<QTemporaryDir>();
        qputenv(standInMark, dir->filePath(QStringLiteral("started")).toLocal8Bit());
        for (int step : {0, 1}) {
            QFile file(installed(step));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(oldFiles.at(step)) > 0);
        }
        server = serve({{QStringLiteral("/update/") + fileNames.at(0), programReply},
                        {QStringLiteral("/update/") + fileNames.at(1), translationReply}});
        widget = std::make_unique<Widget>();
        widget->setServer(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server->serverPort())));
        widget->setProgramDir(dir->path());
        widget->show();
        QVERIFY(widget->startDownload(widget->fileUrl(0)));
    }

private slots:
    void run_data()
    {
        QTest::addColumn<CannedReply>("programReply");
        QTest::addColumn<CannedReply>("translationReply");
        QTest::addColumn<int>("filesInstalled");

        const CannedReply newProgram = httpReply("200 OK", program);
        const CannedReply newTranslation = httpReply("200 OK", translation);
        const CannedReply cutProgram{newProgram.head, program.left(1000)};
        const CannedReply cutTranslation{newTranslation.head, translation.left(1000)};
        // Half the program at once and the rest after a pause, its length unknown.
        const CannedReply unannounced{"HTTP/1.1 200 OK\r\nConnection: close\r\n", program, true};

        QTest::newRow("both files") << newProgram << newTranslation << 2;
        QTest::newRow("program: length unknown") << unannounced << newTranslation << 2;
        QTest::newRow("program: 404") << httpReply("404 Not Found", htmlPage) << newTranslation << 0;
        QTest::newRow("program: body dropped") << cutProgram << newTranslation << 0;
        QTest::newRow("program: html page with 200") << httpReply("200 OK", htmlPage) << newTranslation << 0;
        QTest::newRow("translation: 404") << newProgram << httpReply("404 Not Found", htmlPage) << 1;
        QTest::newRow("translation: body dropped") << newProgram << cutTranslation << 1;
        QTest::newRow("translation: html page with 200") << newProgram << httpReply("200 OK", htmlPage) << 1;
    }

    void run()
    {
        QFETCH(CannedReply, programReply);
        QFETCH(CannedReply, translationReply);
        QFETCH(int, filesInstalled);
        start(programReply, translationReply);
        QSignalSpy done(widget.get(), &Widget::done);
        bool busy = false;
        connect(widget.get(), &QProgressBar::valueChanged, &done, [&]() { busy = busy || widget->maximum() == 0; });
        // A failed step removes its download, the last step puts it in place.
        QTRY_VERIFY_WITH_TIMEOUT(QDir(dir->path()).entryList({QStringLiteral("*.bak")}).isEmpty(), 20000);

        QCOMPARE(readFile(installed(0)), filesInstalled > 0 ? program : oldFiles.at(0));
        QCOMPARE(readFile(installed(1)), filesInstalled > 1 ? translation : oldFiles.at(1));
        QCOMPARE(done.count(), filesInstalled > 1 ? 1 : 0);
        QVERIFY(widget->isVisible());
        QCOMPARE(busy, programReply.hold);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(dir->filePath(QStringLiteral("started"))), filesInstalled > 1, 15000);
    }

    void replaceThatFails()
    {
        start(httpReply("200 OK", program), httpReply("200 OK", translation));
        // Root writes anywhere: the replace is made to fail by an installed
        // "program" that is a directory with something in it.
        QVERIFY(QFile::remove(installed(0)));
        QVERIFY(QDir(dir->path()).mkpath(fileNames.at(0) + QStringLiteral("/kept")));
        QTRY_COMPARE_WITH_TIMEOUT(readFile(installed(1)), translation, 20000);
        QVERIFY(QFileInfo::exists(installed(0) + QStringLiteral("/kept")));
        QCOMPARE(readFile(installed(0) + QStringLiteral(".bak")), program);
    }

    void closedMidDownload()
    {
        start({"HTTP/1.1 200 OK\r\nConnection: close\r\n", program, true}, httpReply("200 OK", translation));
        QTRY_VERIFY(QFileInfo(installed(0) + QStringLiteral(".bak")).size() > 0);
        // The transfer is abandoned without running anything of the window.
        widget.reset();
        QVERIFY(!QFileInfo::exists(installed(0) + QStringLiteral(".bak")));
        QTest::qWait(400);
        QCOMPARE(readFile(installed(0)), oldFiles.at(0));
    }

    void iconAtTwiceItsSize()
    {
        QCOMPARE(QImage(QStringLiteral(":/update@2x.png")).size(), QSize(64, 64));
        QCOMPARE(QImage(QStringLiteral(":/update.png")).size(), QSize(32, 32));
    }
};

QTEST_MAIN(TestUpdater)

#include "tst_updater.moc"
