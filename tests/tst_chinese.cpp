#include "teststore.h"

#include "mainwindow/mainwindow.h"
#include "store/settingsrow.h"
#include "store/startup.h"

#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTranslator>
#include <QtTest>

// A start with Chinese chosen: the built translation reaches the window, the
// card type names and the line titles; English later leaves stored titles.
class TestChinese : public QObject
{
    Q_OBJECT

private slots:
    void chineseStart();
};

void TestChinese::chineseStart()
{
    TestStore store;
    store.exec("insert into card values(1, 13, 'mail', 0)");
    QVERIFY(SettingsRow::setLanguage("zh_CN"));

    auto translator = std::make_unique<QTranslator>();
    QCOMPARE(applyLanguage(*translator, NIMBREL_PROGRAM_DIR, "en_US"), QString("zh_CN"));
    QCOMPARE(store.value("select name from cardtype where id = 18").toString(), QString::fromUtf8("网站"));

    {
        MainWindow window;
        window.show();
        QCOMPARE(window.findChild<QMenuBar *>()->actions().first()->text(), QString::fromUtf8("类别(&C)"));
        QCOMPARE(window.findChild<QPushButton *>("closeButton")->text(), QString::fromUtf8("关闭(&E)"));
        auto *view = window.findChild<QTableView *>("cardView");
        view->setCurrentIndex(view->model()->index(0, 2));
        QVERIFY(QMetaObject::invokeMethod(&window, "openCard"));
        QVERIFY(window.savePendingEdits());
        window.close();
    }
    const QString titles = QString::fromUtf8("系统|用户名|密码|备注");
    QCOMPARE(store.value("select group_concat(title, '|') from (select title from content order by id)").toString(),
             titles);

    // Back to English at the next start: type names follow, stored titles stay.
    QCoreApplication::removeTranslator(translator.get());
    translator = std::make_unique<QTranslator>();
    QVERIFY(SettingsRow::setLanguage("en"));
    QCOMPARE(applyLanguage(*translator, NIMBREL_PROGRAM_DIR, "zh_CN"), QString("en"));
    QCOMPARE(store.value("select name from cardtype where id = 18").toString(), QString("Website"));
    QCOMPARE(store.value("select group_concat(title, '|') from (select title from content order by id)").toString(),
             titles);
    QCoreApplication::removeTranslator(translator.get());
}

QTEST_MAIN(TestChinese)
#include "tst_chinese.moc"
