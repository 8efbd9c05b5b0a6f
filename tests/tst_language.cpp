#include "mainwindow/mainwindow.h"
#include "teststore.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

struct SeenMessage
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
    QString title;
    QString text;
};

// Answers every message box that comes up while it lives and records it. A
// choice that shows no box returns at once, and nothing is left polling.
class BoxWatch
{
public:
    BoxWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << SeenMessage{box->icon(), box->parentWidget(), box->windowTitle(), box->text()};
            box->button(QMessageBox::Ok)->click();
        });
        timer.start(5);
    }

    QList<SeenMessage> seen;

private:
    QTimer timer;
};

QString switchMessage(const QString &entryText)
{
    return QStringLiteral("Switch language to %1, available after restart application.").arg(entryText);
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void checkMarksFollowStoredChoice_data();
    void checkMarksFollowStoredChoice();
    void messageForChoiceAndLastLang_data();
    void messageForChoiceAndLastLang();
    void unreadableLastLangCountsAsEmpty();
    void failedUpdateIsTold_data();
    void failedUpdateIsTold();
    void runningWindowKeepsItsTexts();

private:
    void setSettings(const QString &language, const QString &lastLang);
    QAction *entry(const QString &code) const;
    QStringList storedWrites() const;

    std::unique_ptr<TestStore> store;
    MainWindow *window = nullptr;
};

void TestLanguage::init()
{
    store = std::make_unique<TestStore>();
    // Every write of the stored choice, also one that stores the same code again.
    store->exec(QStringLiteral("create table languagewrites(code text)"));
    store->exec(QStringLiteral("create trigger recordlanguage after update of language on option "
                               "begin insert into languagewrites values(new.language); end"));
}

void TestLanguage::cleanup()
{
    delete window;
    window = nullptr;
    store.reset();
}

void TestLanguage::setSettings(const QString &language, const QString &lastLang)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("update option set language = ?, lastlang = ? where id = 1"));
    query.addBindValue(language);
    query.addBindValue(lastLang);
    QVERIFY(query.exec());
    store->exec(QStringLiteral("delete from languagewrites"));
}

QAction *TestLanguage::entry(const QString &code) const
{
    QAction *found = nullptr;
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->isCheckable() && action->data().toString() == code) {
            if (found)
                qWarning("two entries for %s", qPrintable(code));
            found = action;
        }
    }
    return found;
}

QStringList TestLanguage::storedWrites() const
{
    QStringList writes;
    QSqlQuery query(QStringLiteral("select code from languagewrites order by rowid"));
    while (query.next())
        writes << query.value(0).toString();
    return writes;
}

void TestLanguage::checkMarksFollowStoredChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("englishChecked");
    QTest::addColumn<bool>("chineseChecked");

    QTest::newRow("en") << "en" << true << false;
    QTest::newRow("zh_CN") << "zh_CN" << false << true;
    QTest::newRow("none") << "none" << false << false;
    QTest::newRow("other case") << "zh_cn" << false << false;
}

void TestLanguage::checkMarksFollowStoredChoice()
{
    QFETCH(QString, stored);
    QFETCH(bool, englishChecked);
    QFETCH(bool, chineseChecked);

    setSettings(stored, QStringLiteral("en"));
    window = new MainWindow;
    QAction *english = entry(QStringLiteral("en"));
    QAction *chinese = entry(QStringLiteral("zh_CN"));
    QVERIFY(english && chinese);

    QCOMPARE(english->text(), QStringLiteral("English"));
    QCOMPARE(english->toolTip(), QStringLiteral("switch langange to English"));
    QCOMPARE(chinese->text(), QStringLiteral("Chinese(Simplified)"));
    QCOMPARE(chinese->toolTip(), QStringLiteral("switch language to simplified chinese"));
    QVERIFY(english->icon().isNull() && chinese->icon().isNull());
    QVERIFY(english->actionGroup() && english->actionGroup() == chinese->actionGroup());
    QVERIFY(english->actionGroup()->isExclusive());
    QCOMPARE(english->isChecked(), englishChecked);
    QCOMPARE(chinese->isChecked(), chineseChecked);

    // English first, in the "&Language" submenu.
    QMenu *languageMenu = nullptr;
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        if (menu->title() == QLatin1String("&Language"))
            languageMenu = menu;
    }
    QVERIFY(languageMenu);
    QCOMPARE(languageMenu->actions(), (QList<QAction *>{english, chinese}));
}

void TestLanguage::messageForChoiceAndLastLang_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("lastLang");
    QTest::addColumn<QStringList>("choices");
    // For each choice, the entry text named by the message, or empty when none comes.
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("English in effect, Chinese chosen")
        << "en" << "en" << QStringList{"zh_CN"} << QStringList{"Chinese(Simplified)"};
    QTest::newRow("the language in effect chosen again")
        << "en" << "en" << QStringList{"en"} << QStringList{""};
    QTest::newRow("Chinese, then English again before a restart")
        << "en" << "en" << QStringList{"zh_CN", "en"} << QStringList{"Chinese(Simplified)", ""};
    QTest::newRow("never chosen, en_US locale, English chosen")
        << "none" << "en_US" << QStringList{"en"} << QStringList{"English"};
    QTest::newRow("never chosen, zh_CN locale, Chinese chosen")
        << "none" << "zh_CN" << QStringList{"zh_CN"} << QStringList{""};
    QTest::newRow("Chinese in effect, English chosen")
        << "zh_CN" << "zh_CN" << QStringList{"en"} << QStringList{"English"};
}

void TestLanguage::messageForChoiceAndLastLang()
{
    QFETCH(QString, stored);
    QFETCH(QString, lastLang);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, messages);

    setSettings(stored, lastLang);
    window = new MainWindow;

    for (int i = 0; i < choices.size(); ++i) {
        BoxWatch watch;
        entry(choices.at(i))->trigger();

        QVERIFY(entry(choices.at(i))->isChecked());
        QCOMPARE(storedWrites(), choices.mid(0, i + 1));
        if (messages.at(i).isEmpty()) {
            QVERIFY(watch.seen.isEmpty());
            continue;
        }
        QCOMPARE(watch.seen.size(), 1);
        QCOMPARE(watch.seen.first().icon, QMessageBox::Information);
        QCOMPARE(watch.seen.first().parent, window);
        QCOMPARE(watch.seen.first().title, QStringLiteral("Switch language"));
        QCOMPARE(watch.seen.first().text, switchMessage(messages.at(i)));
    }
    // What the next start reads: lastlang is the start's business alone.
    QCOMPARE(store->value(QStringLiteral("select language from option")).toString(), choices.last());
    QCOMPARE(store->value(QStringLiteral("select lastlang from option")).toString(), lastLang);
}

void TestLanguage::unreadableLastLangCountsAsEmpty()
{
    setSettings(QStringLiteral("en"), QStringLiteral("en"));
    window = new MainWindow;
    store->exec(QStringLiteral("alter table option rename column lastlang to formerlang"));

    BoxWatch watch;
    entry(QStringLiteral("en"))->trigger();

    QCOMPARE(storedWrites(), QStringList{"en"});
    QCOMPARE(watch.seen.size(), 1);
    QCOMPARE(watch.seen.first().text, switchMessage(QStringLiteral("English")));
}

void TestLanguage::failedUpdateIsTold_data()
{
    QTest::addColumn<QString>("lastLang");
    QTest::addColumn<QString>("choice");

    QTest::newRow("would have promised a change") << "en" << "zh_CN";
    QTest::newRow("choice already in effect") << "zh_CN" << "zh_CN";
}

void TestLanguage::failedUpdateIsTold()
{
    QFETCH(QString, lastLang);
    QFETCH(QString, choice);

    setSettings(QStringLiteral("en"), lastLang);
    window = new MainWindow;
    store->makeReadOnly();

    BoxWatch watch;
    entry(choice)->trigger();

    QCOMPARE(watch.seen.size(), 1);
    QCOMPARE(watch.seen.first().parent, window);
    QVERIFY(watch.seen.first().icon != QMessageBox::Information);
    QVERIFY(watch.seen.first().text.contains(QLatin1String("readonly")));
    QVERIFY(!watch.seen.first().text.contains(QLatin1String("available after restart")));
    QCOMPARE(store->value(QStringLiteral("select language from option")).toString(), QStringLiteral("en"));
}

namespace {

// Every text of the window a user can see, in a fixed order.
QStringList visibleTexts(MainWindow *window)
{
    QStringList texts{window->windowTitle()};
    for (QAction *action : window->findChildren<QAction *>())
        texts << action->text() << action->toolTip();
    for (QMenu *menu : window->findChildren<QMenu *>())
        texts << menu->title();
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts << button->text() << button->toolTip();
    return texts;
}

} // namespace

void TestLanguage::runningWindowKeepsItsTexts()
{
    setSettings(QStringLiteral("en"), QStringLiteral("en"));
    window = new MainWindow;
    window->show();
    const QStringList before = visibleTexts(window);
    const QString typeNames = store->value(QStringLiteral("select group_concat(name, '|') from cardtype")).toString();
    const QString hello = QCoreApplication::translate("MainWindow", "English");

    BoxWatch watch;
    entry(QStringLiteral("zh_CN"))->trigger();

    QCOMPARE(watch.seen.size(), 1);
    QCOMPARE(visibleTexts(window), before);
    QCOMPARE(store->value(QStringLiteral("select group_concat(name, '|') from cardtype")).toString(), typeNames);
    QCOMPARE(QCoreApplication::translate("MainWindow", "English"), hello);
    QVERIFY(!entry(QStringLiteral("en"))->isChecked());
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
