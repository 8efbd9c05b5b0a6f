#include "mainwindow/mainwindow.h"
#include "modalanswer.h"
#include "teststore.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QLabel>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

class TestHelpAbout : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the desktop's handler of links.
    void openUrl(const QUrl &url) { urls << url; }

private slots:
    void helpWindowAndAboutLinks();

private:
    QList<QUrl> urls;
};

void TestHelpAbout::helpWindowAndAboutLinks()
{
    TestStore store;
    MainWindow window;
    window.setGeometry(100, 120, 800, 600);
    QVERIFY(QMetaObject::invokeMethod(&window, "helpWindow"));
    auto *help = window.findChild<QTextEdit *>();
    QVERIFY(help && help->isVisible() && help->isReadOnly());
    QCOMPARE(help->geometry(), QRect(140, 160, 720, 520));
    // The help page word for word: the SHA-1 of the text it shows.
    QCOMPARE(QCryptographicHash::hash(help->toPlainText().toUtf8(), QCryptographicHash::Sha1).toHex(),
             QByteArray("d5f913951aabb76c0855f9161c29d11cd75b634b"));

    // Closed and asked for again: the same window.
    help->close();
    QVERIFY(QMetaObject::invokeMethod(&window, "helpWindow"));
    QCOMPARE(window.findChildren<QTextEdit *>(), QList<QTextEdit *>{help});
    QVERIFY(help->isVisible());

    for (const QString &scheme : QStringList{"", "mailto", "http", "https"})
        QDesktopServices::setUrlHandler(scheme, this, "openUrl");
    onNextModal([](QWidget *about) {
        // A click at the end of each label's text, where the links are.
        for (QLabel *label : about->findChildren<QLabel *>())
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->sizeHint().width() - 8, label->height() / 2));
        QTest::keyClick(about, Qt::Key_Escape);
    });
    QVERIFY(QMetaObject::invokeMethod(&window, "aboutDialog"));
    for (const QString &scheme : QStringList{"", "mailto", "http", "https"})
        QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(urls, (QList<QUrl>{QUrl("www.nimbrel.example.org"), QUrl("mailto:support@nimbrel.example.org")}));
}

QTEST_MAIN(TestHelpAbout)
#include "tst_helpabout.moc"
