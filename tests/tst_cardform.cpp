#include "modalanswer.h"
#include "teststore.h"

#include "cardeditor/cardform.h"
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QtTest>

class TestCardForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void templateOfEachType_data();
    void templateOfEachType();
    void templateLinesAreWrittenOnClose();
    void typeChangedInTableGivesItsTemplate();
    void deletingEveryLineBringsTheTemplateBack();
    void closingWritesPending_data();
    void closingWritesPending();
    void addLine();
    void deleteLineWritesAtOnce();
    void copyAndPaste();
    void switchingCardsKeepsEdits();
    void reopeningTheSameCardKeepsEdits();
    void closingTheMainWindowWritesTheLines();
    void failedWriteKeepsDialogAndLines();
    void columnsShareTheWidth();

private:
    QTableView *cardView() const { return window->findChild<QTableView *>("cardView"); }
    CardForm *form() const { return window->findChild<CardForm *>(); }
    QTableView *lineView() const { return form()->findChild<QTableView *>("contentView"); }
    QSqlTableModel *lines() const { return qobject_cast<QSqlTableModel *>(lineView()->model()); }
    void openWindow();
    void openRow(int row);
    void typeIntoOpenCell(const QString &text);
    QStringList storedLines(int cardId, const QString &column = QStringLiteral("title")) const;

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

void TestCardForm::init()
{
    store = std::make_unique<TestStore>();
}

void TestCardForm::cleanup()
{
    window.reset();
    store.reset();
}

void TestCardForm::openWindow()
{
    window = std::make_unique<MainWindow>();
    window->resize(700, 500);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestCardForm::openRow(int row)
{
    cardView()->setCurrentIndex(cardView()->model()->index(row, 2));
    QVERIFY(QMetaObject::invokeMethod(window.get(), "openCard"));
}

// Types into the cell editor that is open in the card editor and commits it.
void TestCardForm::typeIntoOpenCell(const QString &text)
{
    auto *editor = qobject_cast<QLineEdit *>(lineView()->indexWidget(lineView()->currentIndex()));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

QStringList TestCardForm::storedLines(int cardId, const QString &column) const
{
    QSqlQuery query;
    query.prepare(QStringLiteral("select %1 from content where cardid = ? order by id").arg(column));
    query.addBindValue(cardId);
    query.exec();
    QStringList values;
    while (query.next())
        values << query.value(0).toString();
    return values;
}

void TestCardForm::templateOfEachType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("titles");
    const QStringList payment = {"Bank", "First Name", "Last Name", "Card NO.", "CVC Code", "Expires", "PIN", "Note"};
    const QStringList system = {"System", "Username", "Password", "Note"};
    QTest::newRow("1 Address") << 1
        << QStringList{"First Name", "Last Name", "Address", "City", "State", "Country", "Note"};
    QTest::newRow("2 Bank Account") << 2 << QStringList{"Bank", "Account", "Password", "SWIFT", "Note"};
    QTest::newRow("3 Computer Account") << 3 << system;
    QTest::newRow("4 Contact") << 4
        << QStringList{"First Name", "Last Name", "Phone", "eMail", "Company", "Address", "Note"};
    QTest::newRow("5 Credit Card") << 5 << payment;
    QTest::newRow("6 Database Account") << 6 << QStringList{"Database", "Username", "Password", "Note"};
    QTest::newRow("7 eBank Account") << 7
        << QStringList{"eBank", "First Name", "Last Name", "Account", "Username", "Password", "Trade Code",
                       "URL", "SWIFT", "Note"};
    QTest::newRow("8 eBay Account") << 8 << QStringList{"User ID", "Password", "Question", "Answer", "Note"};
    QTest::newRow("9 eMail Account") << 9
        << QStringList{"Site Name", "Username", "Password", "URL", "POP3", "SMTP", "Note"};
    QTest::newRow("10 General Purpose") << 10 << QStringList{"Card Name", "Note"};
    QTest::newRow("11 Master Card") << 11 << payment;
    QTest::newRow("12 Mobile Phone") << 12 << QStringList{"Phone", "Password", "PIN", "PIN2", "Note"};
    QTest::newRow("13 Password") << 13 << system;
    QTest::newRow("14 Paypal Account") << 14
        << QStringList{"Username", "Password", "Question1", "Answer1", "Question2", "Answer2", "Note"};
    QTest::newRow("15 Serial Number") << 15 << QStringList{"Brand", "Serial NO.", "Model NO.", "Note"};
    QTest::newRow("16 Taobao Account") << 16
        << QStringList{"Username", "Password", "Trade Code", "Question", "Answer", "Note"};
    QTest::newRow("17 Visa Card") << 17 << payment;
    QTest::newRow("18 Website") << 18 << QStringList{"Site Name", "Username", "Password", "URL", "Note"};
    QTest::newRow("0 out of range") << 0 << QStringList();
    QTest::newRow("19 out of range") << 19 << QStringList();
}

void TestCardForm::templateOfEachType()
{
    QFETCH(int, type);
    QFETCH(QStringList, titles);
    store->exec(QStringLiteral("insert into card values(1, %1, 'first', 0)").arg(type));
    openWindow();
    openRow(0);

    QVERIFY(form()->isVisible());
    QCOMPARE(form()->windowTitle(), QStringLiteral("first"));
    QCOMPARE(lines()->rowCount(), titles.size());
    for (int row = 0; row < titles.size(); ++row) {
        QCOMPARE(lines()->index(row, 1).data().toString(), titles.at(row));
        QCOMPARE(lines()->index(row, 2).data().toString(), QString());
    }
    if (titles.isEmpty()) {
        QVERIFY(!lineView()->currentIndex().isValid());
    } else {
        QCOMPARE(lineView()->currentIndex(), lines()->index(0, 2));
        QVERIFY(lineView()->indexWidget(lines()->index(0, 2)));
    }
    QCOMPARE(store->count("content"), 0);
}

void TestCardForm::templateLinesAreWrittenOnClose()
{
    store->exec("insert into card values(4, 13, 'mail', 0)");
    store->exec("insert into card values(9, 10, 'other', 0)");
    store->exec("insert into content values(3, 'Kept', 'x', 9)");
    openWindow();
    openRow(0);
    QVERIFY(form()->close());

    QVERIFY(!form()->isVisible());
    QCOMPARE(storedLines(4), (QStringList{"System", "Username", "Password", "Note"}));
    QCOMPARE(storedLines(4, "id"), (QStringList{"4", "5", "6", "7"}));
    QCOMPARE(storedLines(4, "value"), (QStringList{"", "", "", ""}));
    QCOMPARE(store->count("content where value is null"), 0);

    // Opening it again, and opening a card with lines, adds nothing.
    openRow(0);
    QCOMPARE(lines()->rowCount(), 4);
    QVERIFY(!lineView()->indexWidget(lineView()->currentIndex()));
    openRow(1);
    QCOMPARE(lines()->rowCount(), 1);
    QVERIFY(form()->close());
    QCOMPARE(store->count("content"), 5);
}

void TestCardForm::typeChangedInTableGivesItsTemplate()
{
    store->exec("insert into card values(1, 13, 'new', 0)");
    openWindow();
    cardView()->model()->setData(cardView()->model()->index(0, 1), 4);
    openRow(0);
    QCOMPARE(lines()->rowCount(), 7);
    QCOMPARE(lines()->index(2, 1).data().toString(), QStringLiteral("Phone"));
    // Opening does not write the card table.
    QCOMPARE(store->value("select type from card").toInt(), 13);
}

void TestCardForm::deletingEveryLineBringsTheTemplateBack()
{
    store->exec("insert into card values(1, 10, 'general', 0)");
    store->exec("insert into content values(1, 'Only', 'one', 1)");
    openWindow();
    openRow(0);
    QCOMPARE(lines()->rowCount(), 1);
    lineView()->setCurrentIndex(lines()->index(0, 1));
    QVERIFY(QMetaObject::invokeMethod(form(), "deleteContent"));
    QCOMPARE(store->count("content"), 0);
    QVERIFY(form()->close());

    openRow(0);
    QCOMPARE(lines()->rowCount(), 2);
    QCOMPARE(lines()->index(0, 1).data().toString(), QStringLiteral("Card Name"));
}

void TestCardForm::closingWritesPending_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("button") << "button";
    QTest::newRow("menu entry") << "menu";
    QTest::newRow("title bar") << "titlebar";
    QTest::newRow("escape") << "escape";
    QTest::newRow("escape with a cell open") << "escape-open";
}

void TestCardForm::closingWritesPending()
{
    QFETCH(QString, way);
    store->exec("insert into card values(1, 13, 'mail', 0)");
    openWindow();
    openRow(0);
    typeIntoOpenCell("host");
    QTRY_VERIFY(!lineView()->indexWidget(lines()->index(0, 2)));

    if (way == "button") {
        QTest::mouseClick(form()->findChildren<QPushButton *>().last(), Qt::LeftButton);
    } else if (way == "menu") {
        QMenu *menu = form()->findChild<QMenuBar *>()->actions().first()->menu();
        QCOMPARE(menu->title(), QStringLiteral("&Menu"));
        QAction *close = menu->actions().last();
        QCOMPARE(close->text(), QStringLiteral("Clos&e"));
        close->trigger();
    } else if (way == "titlebar") {
        QVERIFY(form()->close());
    } else if (way == "escape") {
        QTest::keyClick(lineView(), Qt::Key_Escape);
    } else {
        // Escape in an open cell abandons only that cell's typing.
        lineView()->setCurrentIndex(lines()->index(1, 2));
        lineView()->edit(lines()->index(1, 2));
        auto *editor = qobject_cast<QLineEdit *>(lineView()->indexWidget(lines()->index(1, 2)));
        QVERIFY(editor);
        QTest::keyClicks(editor, "dropped");
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(form()->isVisible());
        QTest::keyClick(lineView(), Qt::Key_Escape);
    }
    QTRY_VERIFY(!form()->isVisible());
    QCOMPARE(storedLines(1, "value"), (QStringList{"host", "", "", ""}));
}

void TestCardForm::addLine()
{
    store->exec("insert into card values(1, 13, 'mail', 0)");
    store->exec("insert into content values(1, 'Only', 'one', 1)");
    openWindow();
    openRow(0);
    QTest::mouseClick(form()->findChildren<QPushButton *>().first(), Qt::LeftButton);
    QCOMPARE(lines()->rowCount(), 2);
    QCOMPARE(lineView()->currentIndex(), lines()->index(1, 2));
    typeIntoOpenCell("typed");
    QCOMPARE(store->count("content"), 1);
    QVERIFY(form()->close());
    QCOMPARE(storedLines(1, "value"), (QStringList{"one", "typed"}));
    QCOMPARE(storedLines(1), (QStringList{"Only", ""}));
}

void TestCardForm::deleteLineWritesAtOnce()
{
    store->exec("insert into card values(1, 13, 'mail', 0)");
    store->exec("insert into content values(1, 'A', 'a', 1)");
    store->exec("insert into content values(2, 'B', 'b', 1)");
    openWindow();
    openRow(0);
    lines()->setData(lines()->index(1, 2), "edited");

    // No current cell: nothing happens.
    lineView()->setCurrentIndex(QModelIndex());
    QVERIFY(QMetaObject::invokeMethod(form(), "deleteContent"));
    QCOMPARE(store->count("content"), 2);

    lineView()->setCurrentIndex(lines()->index(0, 1));
    QVERIFY(QMetaObject::invokeMethod(form(), "deleteContent"));
    QCOMPARE(storedLines(1), QStringList{"B"});
    QCOMPARE(storedLines(1, "value"), QStringList{"edited"});
    QVERIFY(!lines()->isDirty());
}

void TestCardForm::copyAndPaste()
{
    store->exec("insert into card values(1, 13, 'mail', 0)");
    store->exec("insert into content values(1, 'Password', 'secret', 1)");
    store->exec("insert into content values(2, 'Note', '', 1)");
    openWindow();
    openRow(0);
    QClipboard *clipboard = QGuiApplication::clipboard();

    lineView()->setCurrentIndex(lines()->index(0, 2));
    QVERIFY(QMetaObject::invokeMethod(form(), "copy"));
    QCOMPARE(clipboard->text(), QStringLiteral("secret"));
    lineView()->setCurrentIndex(lines()->index(0, 1));
    QVERIFY(QMetaObject::invokeMethod(form(), "copy"));
    QCOMPARE(clipboard->text(), QStringLiteral("Password"));

    lineView()->setCurrentIndex(lines()->index(1, 2));
    QVERIFY(QMetaObject::invokeMethod(form(), "paste"));
    QCOMPARE(lines()->index(1, 2).data().toString(), QStringLiteral("Password"));
    QCOMPARE(storedLines(1, "value"), (QStringList{"secret", ""}));

    lineView()->setCurrentIndex(QModelIndex());
    QVERIFY(QMetaObject::invokeMethod(form(), "paste"));
    QVERIFY(QMetaObject::invokeMethod(form(), "copy"));
    QCOMPARE(clipboard->text(), QString());

    QVERIFY(form()->close());
    QCOMPARE(storedLines(1, "value"), (QStringList{"secret", "Password"}));
}

void TestCardForm::switchingCardsKeepsEdits()
{
    store->exec("insert into card values(1, 13, 'first', 0)");
    store->exec("insert into card values(2, 10, 'second', 0)");
    openWindow();
    openRow(0);
    typeIntoOpenCell("one");
    openRow(1);
    QCOMPARE(form()->windowTitle(), QStringLiteral("second"));
    QCOMPARE(lines()->rowCount(), 2);
    QCOMPARE(storedLines(1, "value"), (QStringList{"one", "", "", ""}));
    QCOMPARE(storedLines(2), QStringList());
}

void TestCardForm::reopeningTheSameCardKeepsEdits()
{
    store->exec("insert into card values(1, 13, 'first', 0)");
    openWindow();
    openRow(0);
    // Typed and left open in the cell: still kept.
    auto *editor = qobject_cast<QLineEdit *>(lineView()->indexWidget(lines()->index(0, 2)));
    QVERIFY(editor);
    QTest::keyClicks(editor, "still typing");
    openRow(0);
    QCOMPARE(lines()->rowCount(), 4);
    QCOMPARE(lines()->index(0, 2).data().toString(), QStringLiteral("still typing"));
    QCOMPARE(storedLines(1, "value").first(), QStringLiteral("still typing"));
}

void TestCardForm::closingTheMainWindowWritesTheLines()
{
    store->exec("insert into card values(1, 13, 'first', 0)");
    openWindow();
    openRow(0);
    typeIntoOpenCell("kept");
    QVERIFY(window->close());
    QCOMPARE(storedLines(1, "value"), (QStringList{"kept", "", "", ""}));
}

void TestCardForm::failedWriteKeepsDialogAndLines()
{
    store->exec("insert into card values(1, 13, 'first', 0)");
    store->exec("insert into card values(2, 10, 'second', 0)");
    openWindow();
    openRow(0);
    typeIntoOpenCell("precious");
    store->makeReadOnly();

    auto seen = answerNextBox();
    QTest::mouseClick(form()->findChildren<QPushButton *>().last(), Qt::LeftButton);
    QVERIFY(seen->seen);
    QVERIFY2(seen->text.contains("readonly"), qPrintable(seen->text));
    QVERIFY(form()->isVisible());

    // Another card is not loaded over the unwritten lines.
    seen = answerNextBox();
    openRow(1);
    QVERIFY(seen->seen);
    QCOMPARE(form()->shownCard(), 1);
    QCOMPARE(form()->windowTitle(), QStringLiteral("first"));
    QCOMPARE(lines()->rowCount(), 4);
    QCOMPARE(lines()->index(0, 2).data().toString(), QStringLiteral("precious"));

    store->exec("PRAGMA query_only = OFF");
    QVERIFY(form()->close());
    QCOMPARE(storedLines(1, "value"), (QStringList{"precious", "", "", ""}));
}

void TestCardForm::columnsShareTheWidth()
{
    store->exec("insert into card values(1, 13, 'first', 0)");
    openWindow();
    openRow(0);
    form()->resize(600, 400);
    QTRY_COMPARE(lineView()->columnWidth(1), lineView()->width() / 2 - 20);
    QCOMPARE(lineView()->columnWidth(2), lineView()->width() / 2 - 20);
}

QTEST_MAIN(TestCardForm)
#include "tst_cardform.moc"
