// The "&Category" menu and the category editor as a user drives them,
// checked against the store.
#include "vaulttest.h"

#include "cardeditor/mydelegate.h"
#include "category/categoryform.h"

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

    void filterIsAppliedAndKept()
    {
        QCOMPARE(shownCards(), QString("HSBC,Visa"));
        QCOMPARE(entry("&All")->actionGroup()->checkedAction()->text(), QString("Bank"));
        // A name typed in the card table is written before the filter changes.
        typeInto(window->findChild<QTableView *>("cardView"), 1, 2, "Savings", false);
        entry("Mail")->trigger();
        window = std::make_unique<MainWindow>();
        QCOMPARE(shownCards(), QString("Gmail"));
        entry("&All")->trigger();
        QCOMPARE(shownCards(), QString("Gmail,HSBC,Shop,Savings"));
        QCOMPARE(store->value("select category from option").toInt(), -1);
        // All cards stored as the filter: "&All" is checked from the start.
        window = std::make_unique<MainWindow>();
        QVERIFY(entry("&All")->isChecked());

        // A refused write keeps filter and check as they were.
        entry("Web")->trigger();
        typeInto(window->findChild<QTableView *>("cardView"), 0, 2, "Forum");
        store->makeReadOnly();
        ModalAnswer failure("Write Error");
        entry("Bank")->trigger();
        QCOMPARE(shownCards(), QString("Forum"));
        QCOMPARE(entry("&All")->actionGroup()->checkedAction()->text(), QString("Web"));
        // So does a read refused under another program's lock.
        store->exec("PRAGMA query_only = OFF");
        window = std::make_unique<MainWindow>();
        OtherProgram other(store->filePath(), "BEGIN EXCLUSIVE");
        ModalAnswer refused("Read Error");
        entry("Mail")->trigger();
        QCOMPARE(entry("&All")->actionGroup()->checkedAction()->text(), QString("Web"));
    }

    void editorWritesAndMenuFollows()
    {
        openForm();
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
        typeInto(formView, formView->model()->rowCount() - 1, 1, "O'Brien & Co");
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

    void lockedRenameIsKept()
    {
        openForm();
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
