// The "&Category" menu and the category editor as a user drives them,
// checked against the store.
#include "vaulttest.h"

#include "cardeditor/mydelegate.h"
#include "category/categoryform.h"
#include "store/cardfilter.h"

class TestCategories : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        store =
            std::make_unique<TestStore>("insert into category values(0, 'Zero'), (1, 'Web'), (2, 'Bank'), (3, 'Mail');"
                                        "insert into card values(1, 6, 'Gmail', 3), (2, 2, 'HSBC', 2), "
                                        "(3, 18, 'Shop', 1), (4, 5, 'Visa', 2);"
                                        "update option set category = 2");
        window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        // The window first, then the store: a new store must not be opened before
        // the old one has closed the shared connection.
        window.reset();
        store.reset();
    }

    // The filter against the store, without a window: stored 2 (Bank) to begin with.
    void filterOwnsTheChoice_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char *name, const char *setup, const char *lock, const char *action,
                            const char *outcome) { QTest::newRow(name) << setup << lock << action << outcome; };
        row("stored category", "", "", "", "ok|2|categoryid = 2|2|shown 2");
        row("category chosen", "", "", "choose 3", "ok|3|categoryid = 3|3|shown 2,3");
        row("all chosen", "", "", "choose -1", "ok|-1||-1|shown 2,-1");
        row("a find text", "", "", "find hsbc", "ok|2|categoryid = 2 AND card.id IN (2)|2|shown 2");
        row("a find text ended", "", "", "find ", "ok|2|categoryid = 2|2|shown 2");
        row("a find over all", "update option set category = -1", "", "find HSBC", "ok|-1|card.id IN (2)|-1|shown -1");
        row("a stored id that no longer exists", "update option set category = 7", "", "",
            "ok|7|categoryid = 7|7|shown 7");
        row("a refused write",
            "create trigger refuse before update on option begin select raise(abort, 'refused'); end", "", "choose 3",
            "The store refused the change.|2|categoryid = 2|2|shown 2,2");
        row("a write another program holds off", "", "BEGIN IMMEDIATE", "choose 3",
            "The store is being used by another program. Nothing was lost: try again in a moment."
            "|2|categoryid = 2|2|shown 2,2");
        row("a store opened only to be read", "PRAGMA query_only = ON", "", "choose 3",
            "ok|3|categoryid = 3|2|shown 2,3");
        row("no settings row", "delete from option", "", "",
            "The store has no settings row; it may be damaged.|-1|||shown -1");
    }

    void filterOwnsTheChoice()
    {
        QFETCH(QString, setup);
        QFETCH(QString, lock);
        QFETCH(QString, action);
        QSqlQuery query;
        QVERIFY2(setup.isEmpty() || query.exec(setup), qPrintable(query.lastError().text()));
        CardFilter filter;
        QStringList shown;
        connect(&filter, &CardFilter::categoryShown, [&shown](int id) { shown << QString::number(id); });
        QString error;
        bool ok = filter.load(&error);
        std::optional<OtherProgram> other;
        if (!lock.isEmpty())
            other.emplace(store->filePath(), lock);
        if (action.startsWith("choose "))
            ok = filter.choose(action.mid(7).toInt(), &error);
        else if (action.startsWith("find "))
            filter.find(action.mid(5));
        QString modelFilter;
        QVERIFY(filter.modelFilter(&modelFilter, &error));
        const QStringList got = {ok ? QString("ok") : error, QString::number(filter.category()), modelFilter,
                                 store->value("select category from option").toString(), "shown " + shown.join(',')};
        QTEST(got.join('|'), "outcome");
    }

    void filterIsAppliedAndKept()
    {
        QCOMPARE(shownCards(), QString("HSBC,Visa"));
        QCOMPARE(checked(), QString("Bank"));
        // A name typed in the card table is written before the filter changes.
        typeInto(window->findChild<QTableView *>("cardView"), 1, 2, "Savings", false);
        entry("Mail")->trigger();
        window = std::make_unique<MainWindow>();
        QCOMPARE(shownCards(), QString("Gmail"));
        QCOMPARE(checked(), QString("Mail"));
        entry("&All")->trigger();
        QCOMPARE(shownCards(), QString("Gmail,HSBC,Shop,Savings"));
        QCOMPARE(store->value("select category from option").toInt(), -1);
        // All cards stored as the filter: "&All" is checked from the start.
        window = std::make_unique<MainWindow>();
        QCOMPARE(checked(), QString("&All"));
        // A category deleted meanwhile: nothing checked, no card shown.
        store->exec("update option set category = 7");
        window = std::make_unique<MainWindow>();
        QCOMPARE(checked() + shownCards(), QString());

        // A refused write keeps filter and check as they were.
        entry("Web")->trigger();
        typeInto(window->findChild<QTableView *>("cardView"), 0, 2, "Forum");
        store->makeReadOnly();
        {
            ModalAnswer failure("Write Error");
            entry("Bank")->trigger();
        }
        QCOMPARE(shownCards(), QString("Forum"));
        QCOMPARE(checked(), QString("Web"));
        // So does a choice another program keeps from being stored.
        store->exec("PRAGMA query_only = OFF");
        QVERIFY(window->savePendingEdits());
        OtherProgram other(store->filePath(), "BEGIN IMMEDIATE");
        ModalAnswer refused("Category");
        entry("Mail")->trigger();
        QVERIFY(refused.wait());
        QCOMPARE(refused.text,
                 QString("The choice could not be stored, so the table keeps the cards it shows. The "
                         "store is being used by another program. Nothing was lost: try again in a "
                         "moment.\ndatabase is locked Unable to fetch row"));
        QCOMPARE(checked() + ":" + shownCards(), QString("Web:Forum"));
    }

    void editorWritesAndMenuFollows()
    {
        openForm();
        QCOMPARE(misplacedWidgets(form), QStringList());
        // A name that looks like markup is shown as it stands everywhere.
        const QString markup = "<b>Bold</b><img src=x>";
        typeInto(formView, 2, 1, markup);
        {
            ModalAnswer refused("Delete Category", QMessageBox::Ok, [](QWidget *modal) {
                QCOMPARE(qobject_cast<QMessageBox *>(modal)->textFormat(), Qt::PlainText);
            });
            formView->setCurrentIndex(formView->model()->index(2, 1));
            press("deleteButton");
            QVERIFY2(refused.text.startsWith("Cannot delete " + markup + " because there are Cards"),
                     qPrintable(refused.text));
        }
        QCOMPARE(entry(markup)->toolTip(),
                 Qt::convertFromPlainText("display cards beong to " + markup + " category", Qt::WhiteSpaceNormal));
        auto *cards = window->findChild<QTableView *>("cardView");
        QCOMPARE(qobject_cast<myDelegate *>(cards->itemDelegate())->shownName(cards->model()->index(0, 3)), markup);

        formView->setCurrentIndex(formView->model()->index(3, 1));
        store->exec("delete from card where categoryid = 3");
        press("deleteButton");
        // A new category takes the largest id plus one, after the gap too.
        press("addButton");
        // Its name is open for typing.
        QVERIFY(formView->indexWidget(formView->model()->index(3, 1)));
        typeInto(formView, 3, 1, "O'Brien & Co");
        typeInto(formView, 0, 1, "Home");
        QCOMPARE(stored(), "0:Home,1:Web,2:" + markup + ",3:O'Brien & Co");
        QCOMPARE(menu(), "0:Home,1:Web,2:" + markup + ",3:O'Brien && Co");

        // A name typed and left without Enter is written when the editor closes;
        // a new row left empty is not.
        press("addButton");
        typeInto(formView, formView->model()->rowCount() - 1, 1, "Travel", false);
        press("closeButton");
        QVERIFY(!form->isVisible());
        form->show();
        press("addButton");
        QVERIFY(form->close());
        QCOMPARE(stored(), QString("0:Home,1:Web,2:" + markup + ",3:O'Brien & Co,4:Travel"));
        QVERIFY(menu().endsWith(",4:Travel"));
    }

    // Category ids that are no card's id, so that counting by the wrong column finds nothing.
    void deletionRefusedWhileCardsRemain_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("left");
        QTest::newRow("one card") << 0 << QString("Cannot delete Solo because") << QString("7:Solo,8:Empty,9:Pair");
        QTest::newRow("no card") << 1 << QString() << QString("7:Solo,9:Pair");
        QTest::newRow("two cards") << 2 << QString("Cannot delete Pair because") << QString("7:Solo,8:Empty,9:Pair");
    }

    void deletionRefusedWhileCardsRemain()
    {
        QFETCH(int, row);
        QFETCH(QString, box);
        QFETCH(QString, left);
        window.reset();
        store.reset();
        store = std::make_unique<TestStore>("insert into category values(7, 'Solo'), (8, 'Empty'), (9, 'Pair');"
                                            "insert into card values(1, 6, 'a', 7), (2, 2, 'b', 9), (3, 2, 'c', 9)");
        window = std::make_unique<MainWindow>();
        openForm();
        formView->setCurrentIndex(formView->model()->index(row, 1));
        std::optional<ModalAnswer> refused;
        if (!box.isEmpty())
            refused.emplace("Delete Category");
        press("deleteButton");
        if (refused)
            QVERIFY2(refused->wait() && refused->text.startsWith(box), qPrintable(refused->text));
        QCOMPARE(stored(), left);
        QCOMPARE(menu(), left);
    }

    // More categories than a table model reads at once.
    void manyCategories()
    {
        window.reset();
        store.reset();
        store =
            std::make_unique<TestStore>("with recursive n(i) as (select 1 union all select i + 1 from n where i < 300) "
                                        "insert into category select i, 'c' || i from n");
        window = std::make_unique<MainWindow>();
        QCOMPARE(menu().count(','), 299);
        QVERIFY(menu().endsWith(",299:c299,300:c300"));
        openForm();
        QCOMPARE(formView->model()->rowCount(), 300);
        press("addButton");
        typeInto(formView, 300, 1, "Travel");
        QVERIFY(menu().endsWith(",300:c300,301:Travel"));
        QCOMPARE(store->value("select name from category where id = 301").toString(), QString("Travel"));
    }

    // Names are sealed in the store and shown opened, in the editor and the menu.
    void editorOnAnEncryptedStore()
    {
        TestStore::encrypt("secret");
        window = std::make_unique<MainWindow>();
        openForm();
        typeInto(formView, 1, 1, "Internet");
        press("addButton");
        typeInto(formView, 4, 1, "Travel");
        formView->setCurrentIndex(formView->model()->index(0, 1));
        press("deleteButton");
        QCOMPARE(menu(), QString("1:Internet,2:Bank,3:Mail,4:Travel"));
        QCOMPARE(formView->model()->index(3, 1).data().toString(), QString("Travel"));
        QCOMPARE(store->value("select count(*) from category where name like 'nimbrel-sealed:1:%'").toInt(), 4);
        window = std::make_unique<MainWindow>();
        QCOMPARE(menu(), QString("1:Internet,2:Bank,3:Mail,4:Travel"));
    }

    void lockedEditsAreKept()
    {
        openForm();
        formView->setCurrentIndex(formView->model()->index(0, 1));
        {
            // A deletion the store refused is not left waiting for the next write.
            OtherProgram holder(store->filePath(), "BEGIN IMMEDIATE");
            ModalAnswer failure("Write Error");
            press("deleteButton");
            QVERIFY(failure.wait());
        }
        typeInto(formView, 1, 1, "Internet", false);
        {
            OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
            {
                ModalAnswer failure("Write Error");
                press("closeButton");
            }
            {
                ModalAnswer keep("Edit Category", QMessageBox::No);
                QVERIFY(!form->close());
            }
            QVERIFY(form->isVisible());
            QCOMPARE(formView->model()->index(1, 1).data().toString(), QString("Internet"));
        }
        press("closeButton");
        QVERIFY(!form->isVisible());
        QCOMPARE(stored(), QString("0:Zero,1:Internet,2:Bank,3:Mail"));
        QCOMPARE(menu(), QString("0:Zero,1:Internet,2:Bank,3:Mail"));
    }

private:
    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
    CategoryForm *form = nullptr;
    QTableView *formView = nullptr;

    QAction *entry(const QString &text) const
    {
        for (QAction *action : window->findChildren<QAction *>())
            if (action->text() == text)
                return action;
        return nullptr;
    }
    QString menu() const { return categoryEntries(window.get()); }
    QString checked() const
    {
        const QAction *checked = entry("&All")->actionGroup()->checkedAction();
        return checked ? checked->text() : QString();
    }
    QString shownCards() const { return ::shownCards(window.get()); }
    void openForm()
    {
        form = new CategoryForm(window.get(), window.get());
        formView = form->findChild<QTableView *>("categoryView");
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void press(const char *button) { QTest::mouseClick(form->findChild<QPushButton *>(button), Qt::LeftButton); }
    QString stored() const { return store->value("select group_concat(id || ':' || name) from category").toString(); }
};

QTEST_MAIN(TestCategories)
#include "tst_categories.moc"
