// The "&Category" menu of the main window: filtering the card table by
// category and keeping the entries in step with the store.
#include "mainwindow/mainwindow.h"
#include "mainwindow/qmenuex.h"

#include "modalanswer.h"
#include "teststore.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <memory>

class tst_CategoryMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithStoredChoice_data();
    void startsWithStoredChoice();
    void choiceIsStoredAndSurvivesRestart_data();
    void choiceIsStoredAndSurvivesRestart();
    void filterChangeKeepsTypedName_data();
    void filterChangeKeepsTypedName();
    void refusedSaveKeepsFilterAndCheck_data();
    void refusedSaveKeepsFilterAndCheck();
    void sameNamesFilterByOwnId();
    void entryOperationsNeverTouchAll_data();
    void entryOperationsNeverTouchAll();
    void clearAndReloadRebuildsEntries();

private:
    void seed(int storedChoice);
    void openWindow();
    QMenu *categoryMenu() const;
    QAction *entry(const QString &text) const;
    QStringList menuTexts() const;
    QStringList checkedTexts() const;
    QStringList shownCards() const;
    QTableView *cardView() const { return window->findChild<QTableView *>(QStringLiteral("cardView")); }

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

void tst_CategoryMenu::init()
{
    store = std::make_unique<TestStore>();
}

void tst_CategoryMenu::cleanup()
{
    window.reset();
    store.reset();
    QVERIFY(!QApplication::activeModalWidget());
}

// Categories 1 Web, 2 Bank, 3 Mail; cards stored out of category order.
void tst_CategoryMenu::seed(int storedChoice)
{
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    store->exec(QStringLiteral("insert into category values(2, 'Bank')"));
    store->exec(QStringLiteral("insert into category values(3, 'Mail')"));
    store->exec(QStringLiteral("insert into card values(1, 6, 'Gmail', 3)"));
    store->exec(QStringLiteral("insert into card values(2, 2, 'HSBC', 2)"));
    store->exec(QStringLiteral("insert into card values(3, 18, 'Shop', 1)"));
    store->exec(QStringLiteral("insert into card values(4, 5, 'Visa', 2)"));
    store->exec(QStringLiteral("update option set category = %1 where id = 1").arg(storedChoice));
}

void tst_CategoryMenu::openWindow()
{
    window = std::make_unique<MainWindow>();
}

QMenu *tst_CategoryMenu::categoryMenu() const
{
    for (QMenuEx *menu : window->findChildren<QMenuEx *>()) {
        if (menu->title() == QLatin1String("&Category"))
            return menu;
    }
    return nullptr;
}

QAction *tst_CategoryMenu::entry(const QString &text) const
{
    for (QAction *action : categoryMenu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QStringList tst_CategoryMenu::menuTexts() const
{
    QStringList texts;
    for (QAction *action : categoryMenu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QStringList tst_CategoryMenu::checkedTexts() const
{
    QStringList texts;
    for (QAction *action : categoryMenu()->actions()) {
        if (action->isChecked())
            texts << action->text();
    }
    return texts;
}

QStringList tst_CategoryMenu::shownCards() const
{
    QStringList names;
    const QAbstractItemModel *model = cardView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 2).data().toString();
    return names;
}

void tst_CategoryMenu::startsWithStoredChoice_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("cards");

    QTest::newRow("Bank") << 2 << QStringList{"Bank"} << QStringList{"HSBC", "Visa"};
    QTest::newRow("all cards") << -1 << QStringList() << QStringList{"Gmail", "HSBC", "Shop", "Visa"};
    QTest::newRow("category gone") << 9 << QStringList() << QStringList();
}

void tst_CategoryMenu::startsWithStoredChoice()
{
    QFETCH(int, stored);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, cards);
    seed(stored);

    openWindow();

    QCOMPARE(menuTexts(), (QStringList{"&Edit", "-", "&All", "Web", "Bank", "Mail"}));
    QCOMPARE(checkedTexts(), checked);
    QCOMPARE(shownCards(), cards);
    QCOMPARE(entry("Mail")->toolTip(), QStringLiteral("display cards beong to Mail category"));
}

void tst_CategoryMenu::choiceIsStoredAndSurvivesRestart_data()
{
    QTest::addColumn<int>("startWith");
    QTest::addColumn<QString>("choose");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("checkedAfterRestart");
    QTest::addColumn<QStringList>("cards");

    QTest::newRow("Mail") << -1 << "Mail" << 3 << QStringList{"Mail"} << QStringList{"Gmail"};
    QTest::newRow("&All") << 2 << "&All" << -1 << QStringList() << QStringList{"Gmail", "HSBC", "Shop", "Visa"};
}

void tst_CategoryMenu::choiceIsStoredAndSurvivesRestart()
{
    QFETCH(int, startWith);
    QFETCH(QString, choose);
    QFETCH(int, stored);
    QFETCH(QStringList, checkedAfterRestart);
    QFETCH(QStringList, cards);
    seed(startWith);
    openWindow();

    entry(choose)->trigger();

    QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), stored);
    QCOMPARE(checkedTexts(), QStringList{choose});
    QCOMPARE(shownCards(), cards);

    window.reset();
    openWindow();
    QCOMPARE(checkedTexts(), checkedAfterRestart);
    QCOMPARE(shownCards(), cards);
}

void tst_CategoryMenu::filterChangeKeepsTypedName_data()
{
    QTest::addColumn<bool>("editorOpen");
    QTest::newRow("name committed") << false;
    QTest::newRow("editor still open") << true;
}

void tst_CategoryMenu::filterChangeKeepsTypedName()
{
    QFETCH(bool, editorOpen);
    seed(-1);
    openWindow();
    const QModelIndex shop = cardView()->model()->index(2, 2);
    cardView()->setCurrentIndex(shop);
    cardView()->edit(shop);
    auto *editor = qobject_cast<QLineEdit *>(cardView()->indexWidget(shop));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Bookshop"));
    if (!editorOpen) {
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!cardView()->indexWidget(shop));
    }

    entry("Mail")->trigger();

    QCOMPARE(store->value(QStringLiteral("select name from card where id = 3")).toString(),
             QStringLiteral("Bookshop"));
    QCOMPARE(shownCards(), QStringList{"Gmail"});
    entry("&All")->trigger();
    QCOMPARE(shownCards(), (QStringList{"Gmail", "HSBC", "Bookshop", "Visa"}));
}

void tst_CategoryMenu::refusedSaveKeepsFilterAndCheck_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("choose");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("cards");

    QTest::newRow("Bank shown, Mail chosen") << 2 << "Mail" << QStringList{"Bank"} << QStringList{"HSBC", "Savings"};
    QTest::newRow("all shown, nothing checked, &All chosen")
        << -1 << "&All" << QStringList() << QStringList{"Gmail", "HSBC", "Shop", "Savings"};
}

void tst_CategoryMenu::refusedSaveKeepsFilterAndCheck()
{
    QFETCH(int, stored);
    QFETCH(QString, choose);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, cards);
    seed(stored);
    openWindow();
    const int visaRow = int(shownCards().indexOf(QStringLiteral("Visa")));
    QVERIFY(cardView()->model()->setData(cardView()->model()->index(visaRow, 2), QStringLiteral("Savings")));
    store->makeReadOnly();

    std::shared_ptr<SeenBox> box = answerNextBox();
    entry(choose)->trigger();

    QVERIFY(box->seen);
    QVERIFY2(box->text.contains(QLatin1String("readonly")), qPrintable(box->text));
    QCOMPARE(checkedTexts(), checked);
    QCOMPARE(shownCards(), cards);
    QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), stored);
}

void tst_CategoryMenu::sameNamesFilterByOwnId()
{
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    store->exec(QStringLiteral("insert into category values(2, 'Web')"));
    store->exec(QStringLiteral("insert into card values(1, 18, 'Shop', 1)"));
    store->exec(QStringLiteral("insert into card values(2, 18, 'Forum', 2)"));
    openWindow();
    const QList<QAction *> actions = categoryMenu()->actions();
    QCOMPARE(actions.size(), 5);

    for (int id : {1, 2}) {
        QAction *web = actions.at(2 + id);
        QCOMPARE(web->text(), QStringLiteral("Web"));
        web->trigger();
        QCOMPARE(shownCards(), QStringList{id == 1 ? "Shop" : "Forum"});
        QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), id);
        QVERIFY(web->isChecked());
        QVERIFY(!actions.at(5 - id)->isChecked());
    }
}

// Id 0 is the data of "&All", and also the id a pending category row or a
// category stored with id 0 reads as.
void tst_CategoryMenu::entryOperationsNeverTouchAll_data()
{
    QTest::addColumn<bool>("storedZero");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("after");

    const QStringList untouched{"&Edit", "-", "&All", "Web", "Bank", "Mail"};
    QTest::newRow("rename 0") << false << "rename" << untouched;
    QTest::newRow("remove 0") << false << "remove" << untouched;
    QTest::newRow("rename 0, stored 0")
        << true << "rename" << QStringList{"&Edit", "-", "&All", "R&&D", "Web", "Bank", "Mail"};
    QTest::newRow("remove 0, stored 0") << true << "remove" << untouched;
}

void tst_CategoryMenu::entryOperationsNeverTouchAll()
{
    QFETCH(bool, storedZero);
    QFETCH(QString, operation);
    QFETCH(QStringList, after);
    seed(-1);
    if (storedZero)
        store->exec(QStringLiteral("insert into category values(0, 'Zero')"));
    openWindow();
    QAction *all = entry("&All");

    if (operation == QLatin1String("rename"))
        window->renameCategoryAction(0, QStringLiteral("R&D"));
    else
        window->removeCategoryAction(0);

    QCOMPARE(menuTexts(), after);
    QCOMPARE(entry("&All"), all);
    QCOMPARE(all->toolTip(), QStringLiteral("display all cards in main view"));
    if (QAction *renamed = entry("R&&D"))
        QCOMPARE(renamed->toolTip(), QStringLiteral("display cards beong to R&D category"));
}

void tst_CategoryMenu::clearAndReloadRebuildsEntries()
{
    seed(2);
    openWindow();
    entry("&All")->trigger();

    window->clearCategoryActions();
    QCOMPARE(menuTexts(), (QStringList{"&Edit", "-", "&All"}));
    QCOMPARE(checkedTexts(), QStringList{"&All"});

    store->exec(QStringLiteral("insert into category values(4, 'Shops & Deals')"));
    window->loadCategoryActions();
    QCOMPARE(menuTexts(), (QStringList{"&Edit", "-", "&All", "Web", "Bank", "Mail", "Shops && Deals"}));
    QCOMPARE(shownCards().size(), 4);

    entry("Bank")->trigger();
    QCOMPARE(checkedTexts(), QStringList{"Bank"});
    QCOMPARE(shownCards(), (QStringList{"HSBC", "Visa"}));
}

QTEST_MAIN(tst_CategoryMenu)
#include "tst_categorymenu.moc"
