#include "cardwindow.h"
#include "modalanswer.h"

#include <QPushButton>
#include <QSqlDatabase>

class TestCardCommands : public QObject
{
    Q_OBJECT

private slots:
    void newCard();
    void deletingCards();
    void bigTableActsOnTheChosenRow();
};

void TestCardCommands::newCard()
{
    CardWindow w;
    w.store.exec("insert into category values(1, 'a'), (7, 'c'), (2, 'b')");
    w.open();
    QTest::mouseClick(w.window->findChild<QWidget *>("addButton"), Qt::LeftButton);
    const QString card = "select id || ',' || type || ',' || name || ',' || categoryid from card";
    QCOMPARE(w.store.value(card).toString(), QStringLiteral("1,13,card name,7"));
    // Its name cell is open for typing.
    QVERIFY(w.view()->indexWidget(w.cards()->index(0, 2)));
    w.typeInto(w.view(), 0, "mine");
    QVERIFY(w.window->savePendingEdits());
    QCOMPARE(w.store.value("select name from card").toString(), QStringLiteral("mine"));
}

void TestCardCommands::deletingCards()
{
    CardWindow w;
    w.store.exec("insert into card values(1, 13, 'a', 0), (2, 13, '<b>b</b>', 0)");
    w.store.exec("insert into content values(1, 'A', 'a', 1), (2, 'B', 'b', 2)");
    w.open();
    w.openRow(1);
    QVERIFY(QMetaObject::invokeMethod(w.form(), "addContent"));
    w.cards()->setData(w.cards()->index(0, 2), "renamed");

    // The question shows the name as plain text, No is its default, and No keeps all.
    onNextModal([](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Do you want to delete <b>b</b>?"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        box->defaultButton()->click();
    });
    w.run("deleteCard");
    QCOMPARE(w.store.count("card"), 2);
    QCOMPARE(w.store.count("content"), 2);
    QVERIFY(w.form()->isVisible());

    // Yes: the shown card goes with its stored and its pending lines; table edits are written.
    answerNextBox(QMessageBox::Yes);
    w.run("deleteCard");
    QVERIFY(!w.form()->isVisible());
    QCOMPARE(w.store.value("select group_concat(id || name) from card").toString(), QStringLiteral("1renamed"));
    QCOMPARE(w.store.count("content where cardid = 2"), 0);

    // The next card gets the same id, category 0, and only its own template.
    w.run("addCard");
    QCOMPARE(w.store.value("select group_concat(id || ':' || categoryid) from card").toString(),
             QStringLiteral("1:0,2:0"));
    w.openRow(1);
    QCOMPARE(w.form()->shownCard(), 2);
    QCOMPARE(w.shown(), QStringLiteral("System,Username,Password,Note"));

    // A refused deletion is reported and rolls back the lines it deleted first.
    w.store.exec("CREATE TRIGGER refuse BEFORE DELETE ON card BEGIN SELECT RAISE(ABORT, 'card is locked'); END");
    w.choose(0);
    answerNextBox(QMessageBox::Yes);
    auto seen = answerNextBox();
    w.run("deleteCard");
    QVERIFY2(seen->text.contains("card is locked"), qPrintable(seen->text));
    QCOMPARE(w.store.count("content where cardid = 1"), 1);
    QVERIFY(QSqlDatabase::database().transaction());
    QSqlDatabase::database().rollback();

    // So is a failed add.
    w.store.makeReadOnly();
    seen = answerNextBox();
    w.run("addCard");
    QVERIFY2(seen->text.contains("readonly"), qPrintable(seen->text));
    QCOMPARE(w.store.count("card"), 2);
}

void TestCardCommands::bigTableActsOnTheChosenRow()
{
    CardWindow w;
    w.store.exec("with recursive n(id) as (select 1 union all select id + 1 from n where id < 300) "
                 "insert into card select id, 1, 'card', 0 from n");
    w.open();
    w.run("addCard");
    QCOMPARE(w.cards()->index(w.view()->currentIndex().row(), 0).data().toInt(), 301);
    QVERIFY(w.openCell(w.view()));
    w.openRow(w.cards()->rowCount() - 1);
    QCOMPARE(w.form()->shownCard(), 301);
}

QTEST_MAIN(TestCardCommands)
#include "tst_cardcommands.moc"
