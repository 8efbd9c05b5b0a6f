// The card table, the card editor and the delegate as a user drives them,
// checked against the store.
#include "vaulttest.h"

#include "cardeditor/cardform.h"
#include "cardeditor/mydelegate.h"

class TestCards : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        window.reset();
        store.reset();
    }

    void bigStoreAddsAndDeletesTheRightCard()
    {
        // Far more cards than a table model reads at once.
        open("insert into category values(1, 'Home');"
             "with recursive n(i) as (select 1 union all select i + 1 from n where i < 10000) "
             "insert into card select i, i % 18 + 1, 'card ' || i, 1 from n");
        view()->setCurrentIndex(view()->model()->index(0, 2));
        QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view()->currentIndex().siblingAtColumn(2).data().toString(), QString("card 10000"));

        // Nothing is left open on the file: another program can write to it.
        OtherProgram other(store->filePath());
        QVERIFY2(other.exec("insert into category values(7, 'Work')"), qPrintable(other.error));

        // The new card is in sight with its editor, in the category of the largest id, named.
        view()->scrollToTop();
        auto *add = window->findChild<QPushButton *>("addButton");
        QCOMPARE(add->toolTip(), QString("add a new card"));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(stored("select type || ',' || name || ',' || categoryid from card where id = 10001"),
                 QString("13,card name,7"));
        const QModelIndex added = view()->currentIndex();
        QVERIFY(view()->viewport()->rect().contains(view()->visualRect(added)));
        QVERIFY(view()->indexWidget(added) && view()->indexWidget(added)->isVisible());
        typeInto(view(), added.row(), 2, "mine");
        QVERIFY(window->savePendingEdits());
        QCOMPARE(stored("select name from card where id = 10001"), QString("mine"));
        auto *delegate = qobject_cast<myDelegate *>(view()->itemDelegate());
        QCOMPARE(delegate->shownName(added.siblingAtColumn(3)), QString("Work"));

        // Painting under another program's lock draws the same names at once.
        const QImage unlocked = view()->viewport()->grab().toImage();
        OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
        QCOMPARE(view()->viewport()->grab().toImage(), unlocked);
        holder.release();

        // The question names the chosen card as plain text, and No is its default.
        view()->setCurrentIndex(view()->model()->index(5149, 2));
        ModalAnswer no("delete card 5150", QMessageBox::No, [](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QCOMPARE(box->text(), QString("Do you want to delete card 5150?"));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        });
        QVERIFY(QMetaObject::invokeMethod(window.get(), "deleteCard"));
        QCOMPARE(store->count("card"), 10001);
        ModalAnswer yes("delete card 5150", QMessageBox::Yes);
        QVERIFY(QMetaObject::invokeMethod(window.get(), "deleteCard"));
        QCOMPARE(stored("select count(*) || ',' || sum(id = 5150) || ',' || sum(id in (5149, 5151)) from card"),
                 QString("10000,0,2"));
    }

    void lockedStoreLosesNothing()
    {
        open("insert into card values(1, 13, 'a', 0), (2, 13, 'b', 0);"
             "insert into content values(1, 'A', 'a', 1), (2, 'B', 'b', 2)");
        {
            // The first opening learns the columns from the store, once it answers.
            OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
            ModalAnswer unread("Read Error");
            openRow(0);
        }
        // An editor that has read lines once reads them again as its filter changes.
        openRow(0);
        QVERIFY(window->findChild<CardForm *>()->close());
        view()->setCurrentIndex(view()->model()->index(1, 2));
        {
            OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
            ModalAnswer yes("delete b", QMessageBox::Yes);
            ModalAnswer failure("Write Error");
            QVERIFY(QMetaObject::invokeMethod(window.get(), "deleteCard"));
            QVERIFY2(failure.text.startsWith("The store is being used by another program. Nothing was lost: "
                                              "try again in a moment.\ndatabase is locked"),
                     qPrintable(failure.text));
            // A card added now would get a guessed category: none is added, with one message.
            ModalAnswer refused("Write Error");
            QVERIFY(QMetaObject::invokeMethod(window.get(), "addCard"));
            QCOMPARE(view()->model()->rowCount(), 2);
            // An editor that cannot read the card's lines does not open on blank ones.
            ModalAnswer unread("Read Error");
            openRow(1);
            QVERIFY(!window->findChild<CardForm *>()->isVisible());
        }
        QCOMPARE(lineView()->model()->columnCount(), 4);
        QCOMPARE(store->count("card") + store->count("content"), 4);
        QCOMPARE(view()->model()->rowCount(), 2);
        QCOMPARE(view()->model()->columnCount(), 4);
        openRow(0);
        QVERIFY(window->findChild<CardForm *>()->isVisible());
        QCOMPARE(lineView()->model()->index(0, 2).data().toString(), QString("a"));
        ModalAnswer yes("delete b", QMessageBox::Yes);
        view()->setCurrentIndex(view()->model()->index(1, 2));
        QVERIFY(QMetaObject::invokeMethod(window.get(), "deleteCard"));
        QCOMPARE(stored("select group_concat(name) from card"), QString("a"));
        QCOMPARE(stored("select group_concat(cardid) from content"), QString("1"));
    }

    void editorWritesItsLines()
    {
        open("insert into card values(1, 3, 'mail', 0), (2, 10, 'other', 0);"
             "insert into content values(1, 'Kept', 'x', 2)");
        openRow(0);
        auto *form = window->findChild<CardForm *>();
        QCOMPARE(form->shownCard(), 1);
        QAbstractItemModel *lines = lineView()->model();
        // The first value cell is open; its typing is written when the card is opened again.
        QVERIFY(lineView()->indexWidget(lines->index(0, 2)));
        typeInto(lineView(), 0, 2, "typed", false);
        openRow(0);
        QCOMPARE(stored("select group_concat(title || '=' || value) from content where cardid = 1"),
                 QString("System=typed,Username=,Password=,Note="));
        // It opens at its first value; Return moves down the values and never adds a line.
        QCOMPARE(lineView()->currentIndex(), lines->index(0, 2));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(lineView(), Qt::Key_Return);
        QCOMPARE(lines->rowCount(), 4);
        QCOMPARE(lineView()->currentIndex(), lines->index(3, 2));

        // "&Delete Line" deletes the line the user chose.
        lineView()->setCurrentIndex(lines->index(1, 1));
        QVERIFY(QMetaObject::invokeMethod(form, "deleteContent"));
        QCOMPARE(stored("select group_concat(title) from content where cardid = 1"), QString("System,Password,Note"));
        // A line left without title and value is not stored.
        QVERIFY(QMetaObject::invokeMethod(form, "addContent"));
        QVERIFY(form->writePending());
        QCOMPARE(lines->rowCount(), 3);

        // A failed write is reported and keeps the dialog and its card.
        typeInto(lineView(), 0, 2, "precious");
        store->makeReadOnly();
        {
            ModalAnswer failure("Write Error");
            QVERIFY(!form->close());
            QVERIFY2(failure.text.contains("readonly"), qPrintable(failure.text));
        }
        QVERIFY(form->isVisible());
        store->exec("PRAGMA query_only = OFF");
        // Switching writes the edit, and the other card shows its own lines only.
        openRow(1);
        QCOMPARE(form->shownCard(), 2);
        QCOMPARE(lines->rowCount(), 1);
        QCOMPARE(stored("select value from content where id = 1"), QString("x"));
        QCOMPARE(stored("select value from content where cardid = 1 and title = 'System'"), QString("precious"));
    }

    void closingWritesOrAsks()
    {
        open("insert into card values(1, 13, 'first', 0), (2, 18, 'second', 0)");
        QVERIFY(view()->isColumnHidden(0));
        typeInto(view(), 0, 2, QString::fromUtf8("it's \"银行\" %1"), false);
        QTest::mouseClick(window->findChild<QPushButton *>("closeButton"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(stored("select group_concat(name) from card"), QString::fromUtf8("it's \"银行\" %1,second"));

        window->show();
        typeInto(view(), 1, 2, "renamed");
        store->makeReadOnly();
        {
            ModalAnswer failure("Write Error");
            ModalAnswer keep("Close Nimbrel", QMessageBox::No);
            window->close();
        }
        QVERIFY(window->isVisible());
        QCOMPARE(view()->model()->index(1, 2).data().toString(), QString("renamed"));
        QCOMPARE(stored("select name from card where id = 2"), QString("second"));
    }



private:
    void open(const QString &sql)
    {
        store = std::make_unique<TestStore>(sql);
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    QTableView *lineView() const { return window->findChild<CardForm *>()->findChild<QTableView *>("contentView"); }
    void openRow(int row)
    {
        view()->setCurrentIndex(view()->model()->index(row, 2));
        QVERIFY(QMetaObject::invokeMethod(window.get(), "openCard"));
    }
    QString stored(const QString &sql) const { return store->value(sql).toString(); }

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(TestCards)
#include "tst_cards.moc"
