#include "cardwindow.h"
#include "modalanswer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

class TestCardForm : public QObject
{
    Q_OBJECT

private slots:
    void templates_data();
    void templates();
    void openingAgainAndSwitchingKeepEdits();
    void editingLines();
    void closing();
};

void TestCardForm::templates_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("titles");
    QTest::newRow("0") << 0 << "";
    QTest::newRow("1") << 1 << "First Name,Last Name,Address,City,State,Country,Note";
    QTest::newRow("2") << 2 << "Bank,Account,Password,SWIFT,Note";
    QTest::newRow("3") << 3 << "System,Username,Password,Note";
    QTest::newRow("4") << 4 << "First Name,Last Name,Phone,eMail,Company,Address,Note";
    QTest::newRow("5") << 5 << "Bank,First Name,Last Name,Card NO.,CVC Code,Expires,PIN,Note";
    QTest::newRow("6") << 6 << "Database,Username,Password,Note";
    QTest::newRow("7") << 7 << "eBank,First Name,Last Name,Account,Username,Password,Trade Code,URL,SWIFT,Note";
    QTest::newRow("8") << 8 << "User ID,Password,Question,Answer,Note";
    QTest::newRow("9") << 9 << "Site Name,Username,Password,URL,POP3,SMTP,Note";
    QTest::newRow("10") << 10 << "Card Name,Note";
    QTest::newRow("11") << 11 << "Bank,First Name,Last Name,Card NO.,CVC Code,Expires,PIN,Note";
    QTest::newRow("12") << 12 << "Phone,Password,PIN,PIN2,Note";
    QTest::newRow("13") << 13 << "System,Username,Password,Note";
    QTest::newRow("14") << 14 << "Username,Password,Question1,Answer1,Question2,Answer2,Note";
    QTest::newRow("15") << 15 << "Brand,Serial NO.,Model NO.,Note";
    QTest::newRow("16") << 16 << "Username,Password,Trade Code,Question,Answer,Note";
    QTest::newRow("17") << 17 << "Bank,First Name,Last Name,Card NO.,CVC Code,Expires,PIN,Note";
    QTest::newRow("18") << 18 << "Site Name,Username,Password,URL,Note";
    QTest::newRow("19") << 19 << "";
}

void TestCardForm::templates()
{
    QFETCH(int, type);
    QFETCH(QString, titles);
    CardWindow w;
    w.store.exec(QStringLiteral("insert into card values(1, %1, 'first', 0)").arg(type));
    w.open();
    w.openRow(0);
    QCOMPARE(w.shown(), titles);
    // The first value cell is open for typing; nothing is written before closing.
    QCOMPARE(w.lineView()->indexWidget(w.lines()->index(0, 2)) != nullptr, !titles.isEmpty());
    QCOMPARE(w.store.count("content"), 0);
}

void TestCardForm::openingAgainAndSwitchingKeepEdits()
{
    CardWindow w;
    w.store.exec("insert into card values(4, 13, 'mail', 0), (9, 10, 'other', 0)");
    w.store.exec("insert into content values(3, 'Kept', 'x', 9)");
    w.open();
    // A type changed in the table but not saved gives that type's template.
    w.cards()->setData(w.cards()->index(0, 1), 10);
    w.openRow(0);
    QCOMPARE(w.shown(), QStringLiteral("Card Name,Note"));
    QCOMPARE(w.store.value("select type from card where id = 4").toInt(), 13);

    // Opened again with the cell still open: the typing is written, no second template added.
    QTest::keyClicks(w.openCell(w.lineView()), "typing");
    w.openRow(0);
    QCOMPARE(w.stored(4, "id"), QStringLiteral("4,5"));

    // Switching to a card with lines writes the edit and adds nothing there.
    w.lines()->setData(w.lines()->index(1, 2), "note");
    w.openRow(1);
    QCOMPARE(w.shown(), QStringLiteral("Kept"));
    QCOMPARE(w.stored(4, "title || '=' || value"), QStringLiteral("Card Name=typing,Note=note"));
}

void TestCardForm::editingLines()
{
    CardWindow w;
    w.store.exec("insert into card values(1, 10, 'mail', 0)");
    w.store.exec("insert into content values(1, 'Password', 'secret', 1), (2, 'Note', '', 1)");
    w.open();
    w.openRow(0);
    w.lineView()->setCurrentIndex(w.lines()->index(0, 2));
    QVERIFY(QMetaObject::invokeMethod(w.form(), "copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("secret"));
    w.lineView()->setCurrentIndex(w.lines()->index(1, 2));
    QVERIFY(QMetaObject::invokeMethod(w.form(), "paste"));
    w.lineView()->setCurrentIndex(QModelIndex());
    QVERIFY(QMetaObject::invokeMethod(w.form(), "copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());

    // A new line opens its value cell; the typing stays pending until a line is deleted.
    QTest::mouseClick(w.form()->findChildren<QPushButton *>().first(), Qt::LeftButton);
    QVERIFY(w.lineView()->indexWidget(w.lines()->index(2, 2)));
    w.typeInto(w.lineView(), 2, "typed");
    QCOMPARE(w.store.count("content"), 2);
    w.lineView()->setCurrentIndex(w.lines()->index(0, 1));
    QVERIFY(QMetaObject::invokeMethod(w.form(), "deleteContent"));
    QCOMPARE(w.stored(1, "title || '=' || value"), QStringLiteral("Note=secret,=typed"));

    // With every line deleted, the card gets its template again.
    QVERIFY(w.form()->close());
    w.store.exec("delete from content");
    w.openRow(0);
    QCOMPARE(w.shown(), QStringLiteral("Card Name,Note"));
}

void TestCardForm::closing()
{
    CardWindow w;
    w.store.exec("insert into card values(1, 13, 'first', 0), (2, 10, 'second', 0)");
    w.open();
    w.openRow(0);
    w.typeInto(w.lineView(), 0, "precious");

    // A failed write is reported and keeps the dialog; no other card is loaded over its lines.
    w.store.makeReadOnly();
    auto seen = answerNextBox();
    QTest::mouseClick(w.form()->findChildren<QPushButton *>().last(), Qt::LeftButton);
    QVERIFY2(seen->text.contains("readonly"), qPrintable(seen->text));
    QVERIFY(w.form()->isVisible());
    seen = answerNextBox();
    w.openRow(1);
    QVERIFY(seen->seen);
    QCOMPARE(w.form()->shownCard(), 1);
    QCOMPARE(w.shown(2), QStringLiteral("precious,,,"));
    w.store.exec("PRAGMA query_only = OFF");
    QVERIFY(w.form()->writePending());
    QCOMPARE(w.stored(1, "value"), QStringLiteral("precious,,,"));

    // Every way of closing writes, the empty template lines too.
    for (const QString way : {"button", "menu", "title bar", "escape", "main window"}) {
        w.openRow(0);
        w.typeInto(w.lineView(), 0, way);
        if (way == "button")
            QTest::mouseClick(w.form()->findChildren<QPushButton *>().last(), Qt::LeftButton);
        else if (way == "menu")
            w.form()->findChild<QMenuBar *>()->actions().first()->menu()->actions().last()->trigger();
        else if (way == "title bar")
            QVERIFY(w.form()->close());
        else if (way == "escape")
            QTest::keyClick(w.lineView(), Qt::Key_Escape);
        else
            QVERIFY(w.window->close());
        QTRY_VERIFY(!w.form()->isVisible() || way == "main window");
        QCOMPARE(w.stored(1, "value"), way + ",,,");
    }
}

QTEST_MAIN(TestCardForm)
#include "tst_cardform.moc"
