#include "modalanswer.h"
#include "teststore.h"

#include "mainwindow/mainwindow.h"
#include "store/settingsrow.h"
#include "store/startup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void choicesAndMessages_data();
    void choicesAndMessages();
    void translationIsComplete();
    void chineseStart();
};

void TestLanguage::choicesAndMessages_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("lastLang");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QStringList>("choices");
    // For each choice, the message it brings, or empty when none may come.
    QTest::addColumn<QStringList>("messages");

    const QString switched("Switch language to %1, available after restart application.");
    QTest::newRow("English in effect: Chinese, then English again")
        << "en" << "en" << false << QStringList{"zh_CN", "en"} << QStringList{switched.arg("Chinese(Simplified)"), ""};
    QTest::newRow("never chosen, en_US locale: English")
        << "none" << "en_US" << false << QStringList{"en"} << QStringList{switched.arg("English")};
    QTest::newRow("never chosen, zh_CN locale: Chinese")
        << "none" << "zh_CN" << false << QStringList{"zh_CN"} << QStringList{""};
    // The failure is told instead of a promise of English.
    QTest::newRow("Chinese in effect, read-only store: English")
        << "zh_CN" << "zh_CN" << true << QStringList{"en"}
        << QStringList{"The language could not be stored: attempt to write a readonly database Unable to fetch row"};
}

void TestLanguage::choicesAndMessages()
{
    QFETCH(QString, stored);
    QFETCH(QString, lastLang);
    QFETCH(bool, readOnly);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, messages);

    TestStore store;
    QVERIFY(SettingsRow::setLanguage(stored) && SettingsRow::setLastLang(lastLang));
    MainWindow window;
    auto entry = [&window](const QString &code) {
        for (QAction *action : window.findChildren<QAction *>()) {
            if (action->isCheckable() && action->data().toString() == code)
                return action;
        }
        return static_cast<QAction *>(nullptr);
    };
    QCOMPARE(entry("en")->isChecked(), stored == "en");
    QCOMPARE(entry("zh_CN")->isChecked(), stored == "zh_CN");
    if (readOnly)
        store.makeReadOnly();

    // Answers every box while it runs: a choice that shows none leaves nothing waiting.
    QStringList shown;
    QTimer boxWatch;
    connect(&boxWatch, &QTimer::timeout, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->accept();
        }
    });
    boxWatch.start(5);
    for (int i = 0; i < choices.size(); ++i) {
        shown.clear();
        entry(choices.at(i))->trigger();
        QCOMPARE(shown.join('|'), messages.at(i));
        QCOMPARE(store.value("select language from option").toString(), readOnly ? stored : choices.at(i));
        // The check mark follows what is stored.
        const QString now = store.value("select language from option").toString();
        QCOMPARE(entry("en")->isChecked(), now == "en");
        QCOMPARE(entry("zh_CN")->isChecked(), now == "zh_CN");
    }
}

void TestLanguage::translationIsComplete()
{
    // lupdate brings every tr() text of the sources into a copy of the file,
    // where a text the file lacked stays unfinished.
    QTemporaryDir temp;
    const QString copy = temp.filePath("nimbrel_zh_CN.ts");
    QVERIFY(QFile::copy(NIMBREL_SOURCE_DIR "/vault/resources/nimbrel_zh_CN.ts", copy));
    const QStringList arguments{"-locations", "none", "-no-obsolete", "-silent", NIMBREL_SOURCE_DIR "/vault",
                                NIMBREL_SOURCE_DIR "/common", NIMBREL_SOURCE_DIR "/updater", "-ts", copy};
    QCOMPARE(QProcess::execute(QLibraryInfo::path(QLibraryInfo::BinariesPath) + "/lupdate", arguments), 0);

    // Every entry translated, keeping the "%N", "&" mnemonic and markup of its source.
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The texts stay escaped as in the file: "&amp;C", "&lt;b&gt;".
    const QRegularExpression entry("<source>(.*?)</source>.*?<translation( type=\"\\w+\")?>(.*?)</translation>",
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression marker("%\\d|&amp;[^&\\s]|&lt;\\w+");
    QStringList problems;
    for (auto entries = entry.globalMatch(QString::fromUtf8(file.readAll())); entries.hasNext();) {
        const QRegularExpressionMatch next = entries.next();
        if (!next.captured(2).isEmpty() || next.captured(3).isEmpty())
            problems << "untranslated: " + next.captured(1);
        for (auto markers = marker.globalMatch(next.captured(1)); markers.hasNext();) {
            const QString kept = markers.next().captured();
            if (!next.captured(3).contains(kept, Qt::CaseInsensitive))
                problems << kept + " lost: " + next.captured(1);
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

// A start with Chinese chosen: the built translation reaches the window, the
// card type names and the line titles, Qt's own translation its boxes and
// file dialogs; English later leaves stored titles.
void TestLanguage::chineseStart()
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

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
