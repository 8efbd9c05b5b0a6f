// Finding cards, as a user does.
#include "vaulttest.h"

#include "store/findquery.h"

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        window.reset();
        store.reset();
        store = std::make_unique<TestStore>(QString::fromUtf8(
            "insert into category values(1, 'Home'), (2, 'Work');"
            "insert into card values(1, 13, 'Bank of Ur', 1), (2, 9, 'Mail', 2), (3, 2, '银行卡', 1), (4, 13, 'x', 2);"
            "insert into content values(1, 'PIN', '50%_off', 2), (2, 'Note', 'a\\b', 3), (3, 'Password', 'pw', 4)"));
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void findsByNameTitleAndValueLiterally()
    {
        QCOMPARE(find("bANK"), QString("1"));
        QCOMPARE(window->findChild<QLabel *>("findCount")->text(), QString("1 card found in all categories"));
        QVERIFY(window->findChild<QToolButton *>("findAllCategories")->isHidden());
        const QStringList found = {
            find("pin"),         find("%"), find("_"), find("\\"), find(QString::fromUtf8("银行")),
            find("' OR 1=1 --"), find("a")};
        QCOMPARE(found, QStringList({"2", "2", "2", "3", "3", "", "1,2,3,4"}));
    }

    void findsWithinTheCategoryAfterWriting()
    {
        trigger(window.get(), "Work");
        QCOMPARE(find("a"), QString("2,4"));
        QCOMPARE(find("an"), QString());
        QCOMPARE(window->findChild<QLabel *>("findCount")->text(), QString::fromUtf8("No card found in “Work”"));
        // Left and opened again, the bar holds nothing of that find.
        QTest::keyClick(field(), Qt::Key_Escape);
        trigger(window.get(), "&Find...");
        QVERIFY(window->findChild<QToolButton *>("findAllCategories")->isHidden());
        QCOMPARE(field()->text() + window->findChild<QLabel *>("findCount")->text(), QString());
        // Enter with nothing to find chooses no card.
        QTest::keyClick(field(), Qt::Key_Return);
        QVERIFY(!view()->currentIndex().isValid());
        QCOMPARE(find("an"), QString());
        QTest::mouseClick(window->findChild<QToolButton *>("findAllCategories"), Qt::LeftButton);
        QCOMPARE(shownIds(), QString("1"));
        QCOMPARE(window->findChild<QLabel *>("findCount")->text(), QString("1 card found in all categories"));
        QVERIFY(window->findChild<QToolButton *>("findAllCategories")->isHidden());
        // Enter moves to the first match; Escape there leaves the find, not the window.
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(view()->currentIndex(), view()->model()->index(0, 2));
        QTest::keyClick(view(), Qt::Key_Escape);
        QVERIFY(window->isVisible() && !field()->isVisible());
        QCOMPARE(shownIds(), QString("1,2,3,4"));

        // A name typed but not yet written is written first, then found.
        typeInto(view(), 3, 2, "zebra");
        QCOMPARE(find("ZEB"), QString("4"));
        QCOMPARE(store->value("select name from card where id = 4").toString(), QString("zebra"));

        // When the store refuses the write, the search does not run.
        typeInto(view(), 0, 2, "zebra too");
        store->makeReadOnly();
        {
            ModalAnswer failure("Write Error");
            QCOMPARE(find("zebra t"), QString("4"));
        }
        QCOMPARE(view()->model()->index(0, 2).data().toString(), QString("zebra too"));
    }

    // Escape with no find open leaves the window as a close does: the typed
    // name is written and the window closes, which ends the program.
    void escapeClosesAfterWriting()
    {
        typeInto(view(), 1, 2, "renamed");
        QTest::keyClick(view(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(store->value("select name from card where id = 2").toString(), QString("renamed"));
    }

    // The table could not be read at the start: the stored category is the
    // one checked, and the one found in once the store answers.
    void firstReadRefused()
    {
        window.reset();
        store->exec("update option set category = 2; alter table card rename to later");
        {
            ModalAnswer refused("Read Error");
            window = std::make_unique<MainWindow>();
        }
        QCOMPARE(categoryEntries(window.get()), QString("1:Home,2:Work"));
        QVERIFY(window->findChild<QMenuBar *>()->actions().value(0)->menu()->actions().constLast()->isChecked());
        store->exec("alter table later rename to card");
        QCOMPARE(find("a"), QString("2,4"));
        QCOMPARE(window->findChild<QLabel *>("findCount")->text(), QString::fromUtf8("2 cards found in “Work”"));
    }

    // The sealed texts are found by what they hold, never by how they are stored.
    void findsOnAnEncryptedStore()
    {
        window.reset();
        TestStore::encrypt("secret");
        window = std::make_unique<MainWindow>();
        window->show();
        const QStringList found = {find("bANK"), find("pin"), find("50%"), find(QString::fromUtf8("yinhang")),
                                   find("nimbrel-sealed")};
        QCOMPARE(found, QStringList({"1", "2", "2", "3", ""}));
    }

    void matchesByPinyinAndEitherScript_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        const auto row = [](const char *query, const char *text, bool found) {
            QTest::addRow("%s / %s", query, text) << QString::fromUtf8(query) << QString::fromUtf8(text) << found;
        };
        row("zgyh", "中国银行", true);
        row("zhongguoyinhang", "中国银行", true);
        row("ZGYH", "中国银行", true);
        row("zhzgyh", "中国银行", false);
        row("zhgyh", "中国银行", true);
        row("zhongguoyi", "中国银行", true);
        row("yinhang", "银行", true);
        row("yinxing", "银行", true);
        row("cq", "重庆", true);
        row("changcheng", "长城", true);
        row("lvse", "绿色", true);
        row("luse", "绿色", true);
        row("gsyh", "ICBC 工商银行卡", true);
        row("zsyh", "招商銀行", true);
        row("zgyhk", "中国银行", false);
        row("guoyin", "中国银行", true);
        row("zgh", "中国银行", false);
        row("zg yh", "中国银行", false);
        row("銀行", "银行", true);
        row("银行", "銀行", true);
        row("abc", "xabcx", true);
        row("ÄRZTE", "ärzte", true);
        row("abc", "ab c", false);
    }

    void matchesByPinyinAndEitherScript()
    {
        QFETCH(QString, query);
        QFETCH(QString, text);
        QTEST(FindQuery(query).matches(text), "found");
    }

    void findsChineseCardsAsTheyAreWritten()
    {
        store->exec(QString::fromUtf8("insert into card values(5, 3, '中国银行', 1), (6, 3, '招商银行', 2), "
                                      "(7, 4, 'ICBC', 1);"
                                      "insert into content values(4, '城市', '重庆', 7)"));
        const QStringList found = {find("zgyh"), find("yinhang"), find("cq"), find(QString::fromUtf8("招商銀行"))};
        QCOMPARE(found, QStringList({"5", "3,5,6", "7", "6"}));
        // This program's writes: a renamed card, a deleted line.
        QCOMPARE(find("zgyh"), QString("5"));
        typeInto(view(), 0, 2, QString::fromUtf8("长城"));
        QCOMPARE(find("changcheng"), QString("5"));
        QCOMPARE(find("zgyh"), QString());
        store->exec("delete from content where id = 4");
        QCOMPARE(find("cq"), QString());
        // Another program's.
        OtherProgram other(store->filePath());
        QVERIFY2(other.exec(QString::fromUtf8("update content set value = '北京' where id = 1")),
                 qPrintable(other.error));
        QCOMPARE(find("bj") + "|" + find("50%"), QString("2|"));
    }

private:
    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    QLineEdit *field() const { return window->findChild<QLineEdit *>("findField"); }
    // Types the text into the find field and returns the ids of the cards shown once the pause is over.
    QString find(const QString &text)
    {
        typeFind(window.get(), text);
        return shownIds();
    }
    QString shownIds() const { return shownCards(window.get(), 0); }

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(TestFind)
#include "tst_find.moc"
