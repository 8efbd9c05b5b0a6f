#include "modalanswer.h"
#include "teststore.h"

#include "mainwindow/mainwindow.h"
#include "store/settingsrow.h"
#include "store/startup.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTranslator>
#include <QtTest>

// A start with Chinese chosen: the built translation reaches the window, the
// card type names and the line titles, Qt's own translation its boxes and
// file dialogs; English later leaves stored titles.
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
    store.exec("insert into card values(2, 18, 'shop', 0)");
    QVERIFY(SettingsRow::setLanguage("zh_CN"));

    auto translator = std::make_unique<QTranslator>();
    QTranslator qtTranslator;
    QCOMPARE(applyLanguage(*translator, NIMBREL_PROGRAM_DIR, "en_US", &qtTranslator), QString("zh_CN"));
    QVERIFY(qtTranslator.filePath().startsWith(NIMBREL_PROGRAM_DIR));
    const QString yes = qtTranslator.translate("QPlatformTheme", "&Yes");
    QVERIFY(!yes.isEmpty() && yes != "&Yes");
    QCOMPARE(store.value("select name from cardtype where id = 18").toString(), QString::fromUtf8("网站"));

    {
        MainWindow window;
        window.show();
        QCOMPARE(window.findChild<QMenuBar *>()->actions().first()->text(), QString::fromUtf8("类别(&C)"));
        QCOMPARE(window.findChild<QPushButton *>("closeButton")->text(), QString::fromUtf8("关闭(&E)"));
        auto *view = window.findChild<QTableView *>("cardView");

        // The first box is answered by the button that reads Qt's translation of "&Yes".
        view->setCurrentIndex(view->model()->index(1, 2));
        {
            ModalAnswer question(QCoreApplication::translate("MainWindow", "delete %1").arg("shop"),
                                 QMessageBox::NoButton, [&yes](QWidget *box) {
                                     for (QAbstractButton *button : box->findChildren<QAbstractButton *>()) {
                                         if (button->text() == yes)
                                             return button->click();
                                     }
                                 });
            QVERIFY(QMetaObject::invokeMethod(&window, "deleteCard"));
        }
        QCOMPARE(store.count("card"), 1);

        // The export's file dialog, with the edit menu of its name field.
        QStringList shown;
        ModalAnswer fileDialog(QCoreApplication::translate("MainWindow", "Export Database"), QMessageBox::NoButton,
                               [&shown](QWidget *dialog) {
            QVERIFY(qobject_cast<QFileDialog *>(dialog));
            for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
                shown << (button->isVisible() ? button->text() : QString());
            for (QLabel *label : dialog->findChildren<QLabel *>())
                shown << (label->isVisible() ? label->text() : QString());
            std::unique_ptr<QMenu> menu(dialog->findChild<QLineEdit *>()->createStandardContextMenu());
            for (QAction *action : menu->actions())
                shown << action->text();
            dialog->close();
        });
        QVERIFY(QMetaObject::invokeMethod(&window, "exportCard"));
        shown << QFileIconProvider().type(QFileInfo(store.dir()));
        shown.removeAll(QString());
        QVERIFY(shown.size() >= 13);
        QCOMPARE(shown.filter(QRegularExpression("^[^\\p{Han}]*$")), QStringList());

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
    QCoreApplication::removeTranslator(&qtTranslator);
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
