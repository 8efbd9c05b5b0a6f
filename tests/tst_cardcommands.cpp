#include "modalanswer.h"
#include "teststore.h"

#include "cardeditor/cardform.h"
#include "mainwindow/mainwindow.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QtTest>

class TestCardCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newCard_data();
    void newCard();
    void newCardUnderAnotherFilterOpensNoCell();
    void idsAfterDeletingTheTopCard();
    void addingAndDeletingWriteTableEdits();
    void openAndDeleteNeedACurrentCell();
    void deletionQuestion_data();
    void deletionQuestion();
    void deletingTheShownCardLeavesNoLines();
    void failedDeletionKeepsCardAndLines();
    void failedAddIsReported();
    void bigTableActsOnTheChosenRow();

private:
    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    QAbstractItemModel *cards() const { return view()->model(); }
    CardForm *form() const { return window->findChild<CardForm *>(); }
    void openWindow();
    void run(const char *command) { QVERIFY(QMetaObject::invokeMethod(window.get(), command)); }
    void choose(int row) { view()->setCurrentIndex(cards()->index(row, 2)); }
    QWidget *openCellEditor() const { return view()->indexWidget(view()->currentIndex()); }

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

void TestCardCommands::init()
{
    store = std::make_unique<TestStore>();
}

void TestCardCommands::cleanup()
{
    window.reset();
    store.reset();
}

void TestCardCommands::openWindow()
{
    window = std::make_unique<MainWindow>();
    window->resize(700, 500);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestCardCommands::newCard_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("category");
    QTest::newRow("empty store") << QStringList() << 1 << 0;
    QTest::newRow("latest category, filter ignored")
        << QStringList{"insert into category values(1, 'a')", "insert into category values(7, 'c')",
                       "insert into category values(2, 'b')", "insert into card values(5, 1, 'x', 1)",
                       "insert into card values(3, 1, 'y', 2)"}
        << 6 << 7;
}

void TestCardCommands::newCard()
{
    QFETCH(QStringList, setup);
    QFETCH(int, id);
    QFETCH(int, category);
    for (const QString &statement : setup)
        store->exec(statement);
    openWindow();
    QTest::mouseClick(window->findChild<QWidget *>("addButton"), Qt::LeftButton);

    QSqlQuery query;
    query.prepare("select type, name, categoryid from card where id = ?");
    query.addBindValue(id);
    QVERIFY(query.exec() && query.next());
    QCOMPARE(query.value(0).toInt(), 13);
    QCOMPARE(query.value(1).toString(), QStringLiteral("card name"));
    QCOMPARE(query.value(2).toInt(), category);
    QCOMPARE(store->count("content"), 0);
    QVERIFY(!form());

    const QModelIndex current = view()->currentIndex();
    QCOMPARE(current.column(), 2);
    QCOMPARE(cards()->index(current.row(), 0).data().toInt(), id);
    auto *editor = qobject_cast<QLineEdit *>(openCellEditor());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("card name"));
}

void TestCardCommands::newCardUnderAnotherFilterOpensNoCell()
{
    store->exec("insert into category values(1, 'old')");
    store->exec("insert into category values(2, 'new')");
    store->exec("insert into card values(1, 13, 'shown', 1)");
    store->exec("update option set category = 1");
    openWindow();
    QCOMPARE(cards()->rowCount(), 1);
    run("addCard");
    QCOMPARE(store->value("select categoryid from card where id = 2").toInt(), 2);
    QCOMPARE(cards()->rowCount(), 1);
    QVERIFY(!openCellEditor());
}

void TestCardCommands::idsAfterDeletingTheTopCard()
{
    store->exec("insert into card values(1, 13, 'a', 0)");
    store->exec("insert into card values(2, 13, 'b', 0)");
    store->exec("insert into content values(1, 'Old', 'line', 2)");
    openWindow();
    choose(1);
    answerNextBox(QMessageBox::Yes);
    run("deleteCard");
    QCOMPARE(store->count("card"), 1);
    QCOMPARE(store->count("content"), 0);

    run("addCard");
    QCOMPARE(store->value("select max(id) from card").toInt(), 2);
    // The new card with the old id has no lines, so it gets its template.
    choose(1);
    run("openCard");
    QCOMPARE(form()->shownCard(), 2);
    QCOMPARE(form()->findChild<QTableView *>("contentView")->model()->rowCount(), 4);
}

void TestCardCommands::addingAndDeletingWriteTableEdits()
{
    store->exec("insert into card values(1, 13, 'a', 0)");
    store->exec("insert into card values(2, 13, 'b', 0)");
    openWindow();
    cards()->setData(cards()->index(0, 2), "renamed");
    run("addCard");
    QCOMPARE(store->value("select name from card where id = 1").toString(), QStringLiteral("renamed"));

    // The new card's name, typed and still open in the cell, is saved by the delete.
    QTest::keyClicks(openCellEditor(), "mine");
    choose(1);
    answerNextBox(QMessageBox::Yes);
    run("deleteCard");
    QCOMPARE(store->value("select name from card where id = 3").toString(), QStringLiteral("mine"));
    QVERIFY(!store->value("select name from card where id = 2").isValid());
}

void TestCardCommands::openAndDeleteNeedACurrentCell()
{
    store->exec("insert into card values(1, 13, 'a', 0)");
    openWindow();
    view()->setCurrentIndex(QModelIndex());
    bool asked = false;
    QTimer::singleShot(50, this, [&asked]() {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            asked = true;
            modal->close();
        }
    });
    run("deleteCard");
    run("openCard");
    QTest::qWait(100);
    QVERIFY(!asked);
    QVERIFY(form());
    QVERIFY(!form()->isVisible());
    QCOMPARE(store->count("card"), 1);
}

void TestCardCommands::deletionQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
    QTest::newRow("box closed") << int(QMessageBox::Cancel) << false;
}

void TestCardCommands::deletionQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    store->exec("insert into card values(1, 13, '<b>bold</b> & co', 0)");
    store->exec("insert into card values(2, 13, 'other', 0)");
    store->exec("insert into content values(1, 'A', 'a', 1)");
    store->exec("insert into content values(2, 'B', 'b', 1)");
    store->exec("insert into content values(3, 'C', 'c', 2)");
    openWindow();
    choose(0);

    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    onNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        defaultButton = box->standardButton(box->defaultButton());
        if (answer == QMessageBox::Cancel)
            box->close();
        else
            box->button(QMessageBox::StandardButton(answer))->click();
    });
    run("deleteCard");

    QCOMPARE(title, QStringLiteral("delete <b>bold</b> & co"));
    QCOMPARE(text, QStringLiteral("Do you want to delete <b>bold</b> & co?"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(defaultButton, QMessageBox::No);
    QCOMPARE(store->count("card where id = 1"), deleted ? 0 : 1);
    QCOMPARE(store->count("content where cardid = 1"), deleted ? 0 : 2);
    QCOMPARE(store->count("content where cardid = 2"), 1);
}

void TestCardCommands::deletingTheShownCardLeavesNoLines()
{
    store->exec("insert into card values(1, 13, 'keep', 0)");
    store->exec("insert into card values(2, 13, 'doomed', 0)");
    openWindow();
    choose(1);
    run("openCard");
    QVERIFY(form()->isVisible());
    QCOMPARE(form()->shownCard(), 2);

    // Deleting another card leaves the editor alone.
    choose(0);
    answerNextBox(QMessageBox::Yes);
    run("deleteCard");
    QVERIFY(form()->isVisible());

    choose(0);
    answerNextBox(QMessageBox::Yes);
    run("deleteCard");
    QVERIFY(!form()->isVisible());
    QCOMPARE(store->count("card"), 0);
    QCOMPARE(store->count("content"), 0);

    // Nothing is written later either, and the next card starts empty.
    QVERIFY(window->savePendingEdits());
    run("addCard");
    QCOMPARE(store->value("select id from card").toInt(), 1);
    QCOMPARE(store->count("content"), 0);
}

void TestCardCommands::failedDeletionKeepsCardAndLines()
{
    store->exec("insert into card values(1, 13, 'a', 0)");
    store->exec("insert into content values(1, 'A', 'a', 1)");
    store->exec("CREATE TRIGGER refuse BEFORE DELETE ON card BEGIN SELECT RAISE(ABORT, 'card is locked'); END");
    openWindow();
    choose(0);
    answerNextBox(QMessageBox::Yes);
    auto seen = answerNextBox();
    run("deleteCard");
    QVERIFY(seen->seen);
    QVERIFY2(seen->text.contains("card is locked"), qPrintable(seen->text));
    QCOMPARE(store->count("card"), 1);
    QCOMPARE(store->count("content"), 1);
    QCOMPARE(cards()->rowCount(), 1);
    // No transaction is left open.
    QVERIFY(QSqlDatabase::database().transaction());
    QSqlDatabase::database().rollback();
}

void TestCardCommands::failedAddIsReported()
{
    openWindow();
    store->makeReadOnly();
    auto seen = answerNextBox();
    run("addCard");
    QVERIFY(seen->seen);
    QVERIFY2(seen->text.contains("readonly"), qPrintable(seen->text));
    QCOMPARE(store->count("card"), 0);
}

void TestCardCommands::bigTableActsOnTheChosenRow()
{
    QSqlDatabase::database().transaction();
    QSqlQuery insert;
    insert.prepare("insert into card values(?, 1, ?, 0)");
    for (int id = 1; id <= 300; ++id) {
        insert.addBindValue(id);
        insert.addBindValue(QStringLiteral("card %1").arg(id));
        QVERIFY(insert.exec());
    }
    QSqlDatabase::database().commit();
    openWindow();

    run("addCard");
    const QModelIndex current = view()->currentIndex();
    QCOMPARE(cards()->index(current.row(), 0).data().toInt(), 301);
    QVERIFY(openCellEditor());

    choose(cards()->rowCount() - 1);
    run("openCard");
    QCOMPARE(form()->shownCard(), 301);
    QCOMPARE(form()->windowTitle(), QStringLiteral("card name"));

    choose(299);
    answerNextBox(QMessageBox::Yes);
    run("deleteCard");
    QCOMPARE(store->count("card where id = 300"), 0);
    QCOMPARE(store->count("card"), 300);
}

QTEST_MAIN(TestCardCommands)
#include "tst_cardcommands.moc"
