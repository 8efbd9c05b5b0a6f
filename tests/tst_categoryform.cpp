// The category editor as a user drives it, checked against the store and the
// main window's category menu.
#include "category/categoryform.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/qmenuex.h"

#include "modalanswer.h"
#include "teststore.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// Closes any message box that opens while it lives and keeps its text: a box
// that nobody expected then neither blocks the test nor is taken for the
// answer to a later one.
class UnexpectedBoxes
{
public:
    UnexpectedBoxes()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this]() {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->reject();
            }
        });
        timer.start();
    }
    QStringList texts;

private:
    QTimer timer;
};

} // namespace

class tst_CategoryForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newCategoryGetsLargestIdPlusOne_data();
    void newCategoryGetsLargestIdPlusOne();
    void idIsWrittenByTheProgram();
    void confirmingCreatesRowAndEntry_data();
    void confirmingCreatesRowAndEntry();
    void namesShowAsTyped_data();
    void namesShowAsTyped();
    void renameKeepsEntryInPlace();
    void deleting_data();
    void deleting();
    void deletingPendingRowKeepsAll();
    void failedWritesLeaveMenuAsStored_data();
    void failedWritesLeaveMenuAsStored();
    void nameColumnFillsTable();
    void editEntryRunsDialog();

private:
    void openForm();
    QTableView *view() const { return form->findChild<QTableView *>(QStringLiteral("categoryView")); }
    void click(const char *button) const;
    QLineEdit *openEditor() const;
    void typeName(const QString &name, bool confirm) const;
    void editRow(int row, const QString &name) const;
    int rowOf(const QString &name) const;
    QMenu *categoryMenu() const;
    QStringList entryTexts() const;
    QAction *allEntry() const;

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
    CategoryForm *form = nullptr;
};

void tst_CategoryForm::init()
{
    store = std::make_unique<TestStore>();
}

void tst_CategoryForm::cleanup()
{
    delete form;
    form = nullptr;
    window.reset();
    store.reset();
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_CategoryForm::openForm()
{
    window = std::make_unique<MainWindow>();
    form = new CategoryForm(window.get());
    form->show();
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
}

void tst_CategoryForm::click(const char *button) const
{
    QTest::mouseClick(form->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

QLineEdit *tst_CategoryForm::openEditor() const
{
    return qobject_cast<QLineEdit *>(view()->indexWidget(view()->currentIndex()));
}

// "&Add", then the name typed into the new row's cell, with or without Enter.
void tst_CategoryForm::typeName(const QString &name, bool confirm) const
{
    click("addButton");
    QLineEdit *editor = openEditor();
    QVERIFY(editor);
    QVERIFY(editor->text().isEmpty());
    QTest::keyClicks(editor, name);
    if (confirm) {
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!openEditor());
    }
}

void tst_CategoryForm::editRow(int row, const QString &name) const
{
    const QModelIndex cell = view()->model()->index(row, 1);
    view()->setCurrentIndex(cell);
    view()->edit(cell);
    QLineEdit *editor = openEditor();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!openEditor());
}

int tst_CategoryForm::rowOf(const QString &name) const
{
    const QAbstractItemModel *model = view()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 1).data().toString() == name)
            return row;
    }
    return -1;
}

QMenu *tst_CategoryForm::categoryMenu() const
{
    for (QMenuEx *menu : window->findChildren<QMenuEx *>()) {
        if (menu->title() == QLatin1String("&Category"))
            return menu;
    }
    return nullptr;
}

// The entries after "&All": one per category, as the user sees them.
QStringList tst_CategoryForm::entryTexts() const
{
    QStringList texts;
    const QList<QAction *> actions = categoryMenu()->actions();
    for (qsizetype i = actions.indexOf(allEntry()) + 1; i < actions.size(); ++i)
        texts << actions.at(i)->text();
    return texts;
}

QAction *tst_CategoryForm::allEntry() const
{
    for (QAction *action : categoryMenu()->actions()) {
        if (action->text() == QLatin1String("&All"))
            return action;
    }
    return nullptr;
}

void tst_CategoryForm::newCategoryGetsLargestIdPlusOne_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("deleteId");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty table") << QList<int>{} << 0 << 1;
    QTest::newRow("gap below the top") << QList<int>{1, 2, 5} << 0 << 6;
    QTest::newRow("top deleted") << QList<int>{1, 2, 3} << 3 << 3;
    QTest::newRow("middle deleted") << QList<int>{1, 2, 3} << 2 << 4;
}

void tst_CategoryForm::newCategoryGetsLargestIdPlusOne()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, deleteId);
    QFETCH(int, expected);
    for (int id : ids)
        store->exec(QStringLiteral("insert into category values(%1, 'c%1')").arg(id));
    openForm();
    if (deleteId) {
        view()->setCurrentIndex(view()->model()->index(rowOf(QStringLiteral("c%1").arg(deleteId)), 1));
        click("deleteButton");
        QCOMPARE(store->value(QStringLiteral("select count(*) from category where id = %1").arg(deleteId)), 0);
    }

    typeName(QStringLiteral("Travel"), true);

    QCOMPARE(store->value(QStringLiteral("select id from category where name = 'Travel'")).toInt(), expected);
    QAction *entry = categoryMenu()->actions().constLast();
    QCOMPARE(entry->text(), QStringLiteral("Travel"));
    QCOMPARE(entry->data().toInt(), expected);
}

// A field that is not marked generated is left out of the INSERT, and SQLite
// would pick the id itself.
void tst_CategoryForm::idIsWrittenByTheProgram()
{
    store->exec(QStringLiteral("insert into category values(4, 'Web')"));
    openForm();
    auto *model = qobject_cast<QSqlTableModel *>(view()->model());
    QSqlRecord record = model->record();
    record.setGenerated(QStringLiteral("id"), false);
    emit model->beforeInsert(record);
    QCOMPARE(record.value(QStringLiteral("id")).toInt(), 5);
    QVERIFY(record.isGenerated(QStringLiteral("id")));
}

void tst_CategoryForm::confirmingCreatesRowAndEntry_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("created");

    QTest::newRow("Enter, then Close") << "enter" << true;
    QTest::newRow("no Enter, Close button") << "button" << false;
    QTest::newRow("no Enter, title bar") << "window" << false;
    QTest::newRow("Escape, then Close") << "escape" << false;
    QTest::newRow("another row chosen, then Close") << "row" << true;
}

void tst_CategoryForm::confirmingCreatesRowAndEntry()
{
    QFETCH(QString, ending);
    QFETCH(bool, created);
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    openForm();
    QAction *all = allEntry();
    UnexpectedBoxes boxes;

    typeName(QStringLiteral("Travel"), ending == QLatin1String("enter"));
    if (ending == QLatin1String("escape")) {
        QTest::keyClick(openEditor(), Qt::Key_Escape);
        QTRY_COMPARE(view()->model()->rowCount(), 1);
        QVERIFY(form->isVisible());
    }
    if (ending == QLatin1String("row")) {
        const QRect web = view()->visualRect(view()->model()->index(0, 1));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, web.center());
        QTRY_COMPARE(store->count(QStringLiteral("category")), 2);
    }
    if (ending == QLatin1String("window"))
        form->close();
    else
        click("closeButton");
    QVERIFY(!form->isVisible());
    delete form;
    form = nullptr;

    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(store->count(QStringLiteral("category")), created ? 2 : 1);
    QCOMPARE(entryTexts(), created ? (QStringList{"Web", "Travel"}) : (QStringList{"Web"}));
    QCOMPARE(allEntry(), all);
    QCOMPARE(all->text(), QStringLiteral("&All"));
    QCOMPARE(all->toolTip(), QStringLiteral("display all cards in main view"));
    QCOMPARE(all->data().toInt(), 0);
}

void tst_CategoryForm::namesShowAsTyped_data()
{
    QTest::addColumn<bool>("rename");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entryText");

    const QString ampersand = QStringLiteral("Tom & Jerry");
    const QString quotes = QStringLiteral("O'Brien \"Bank\" 100%");
    QTest::newRow("new, ampersand") << false << ampersand << QStringLiteral("Tom && Jerry");
    QTest::newRow("new, quotes") << false << quotes << quotes;
    QTest::newRow("renamed, ampersand") << true << ampersand << QStringLiteral("Tom && Jerry");
    QTest::newRow("renamed, quotes") << true << quotes << quotes;
    QTest::newRow("new, empty") << false << QString("") << QString();
}

void tst_CategoryForm::namesShowAsTyped()
{
    QFETCH(bool, rename);
    QFETCH(QString, name);
    QFETCH(QString, entryText);
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    openForm();

    if (rename)
        editRow(0, name);
    else
        typeName(name, true);

    const int id = rename ? 1 : 2;
    QCOMPARE(store->value(QStringLiteral("select name from category where id = %1").arg(id)).toString(), name);
    QAction *entry = categoryMenu()->actions().constLast();
    QCOMPARE(entry->text(), entryText);
    QCOMPARE(entry->toolTip(), QStringLiteral("display cards beong to %1 category").arg(name));
}

void tst_CategoryForm::renameKeepsEntryInPlace()
{
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    store->exec(QStringLiteral("insert into category values(2, 'Bank')"));
    store->exec(QStringLiteral("insert into category values(3, 'Mail')"));
    openForm();
    QAction *bank = categoryMenu()->actions().at(4);
    QCOMPARE(bank->text(), QStringLiteral("Bank"));

    editRow(1, QStringLiteral("Savings"));

    QCOMPARE(entryTexts(), (QStringList{"Web", "Savings", "Mail"}));
    QCOMPARE(categoryMenu()->actions().at(4), bank);
    QCOMPARE(bank->toolTip(), QStringLiteral("display cards beong to Savings category"));
    QCOMPARE(bank->data().toInt(), 2);
    QCOMPARE(allEntry()->text(), QStringLiteral("&All"));
    QCOMPARE(store->value(QStringLiteral("select name from category where id = 2")).toString(),
             QStringLiteral("Savings"));
}

void tst_CategoryForm::deleting_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("cardTableGone");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QStringList>("entriesAfter");

    // A category stored with id 0 shares the data of "&All"; it must stay.
    const QStringList all{"Zero", "Web", "Bank", "Mail"};
    QTest::newRow("no current cell") << QString() << false << QString() << all;
    QTest::newRow("category with cards")
        << "Bank" << false
        << "Cannot delete Bank because there are Cards associated with this category in the collection." << all;
    QTest::newRow("cards cannot be counted")
        << "Mail" << true << "Cannot delete Mail because its cards could not be counted:" << all;
    QTest::newRow("empty category") << "Mail" << false << QString() << QStringList{"Zero", "Web", "Bank"};
}

void tst_CategoryForm::deleting()
{
    QFETCH(QString, current);
    QFETCH(bool, cardTableGone);
    QFETCH(QString, boxText);
    QFETCH(QStringList, entriesAfter);
    store->exec(QStringLiteral("insert into category values(0, 'Zero')"));
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    store->exec(QStringLiteral("insert into category values(2, 'Bank')"));
    store->exec(QStringLiteral("insert into category values(3, 'Mail')"));
    store->exec(QStringLiteral("insert into card values(1, 13, 'HSBC', 2)"));
    openForm();
    if (cardTableGone)
        store->exec(QStringLiteral("alter table card rename to gone"));
    view()->setCurrentIndex(current.isEmpty() ? QModelIndex() : view()->model()->index(rowOf(current), 1));

    if (boxText.isEmpty()) {
        UnexpectedBoxes boxes;
        click("deleteButton");
        QTest::qWait(50);
        QCOMPARE(boxes.texts, QStringList());
    } else {
        std::shared_ptr<SeenBox> box = answerNextBox();
        click("deleteButton");
        QTRY_VERIFY(box->seen);
        QCOMPARE(box->title, QStringLiteral("Delete Category"));
        QVERIFY2(box->text.startsWith(boxText), qPrintable(box->text));
    }

    QCOMPARE(entryTexts(), entriesAfter);
    QCOMPARE(store->count(QStringLiteral("category")), entriesAfter.size());
    QCOMPARE(view()->model()->rowCount(), entriesAfter.size());
    QCOMPARE(allEntry()->text(), QStringLiteral("&All"));
}

void tst_CategoryForm::deletingPendingRowKeepsAll()
{
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    openForm();
    UnexpectedBoxes boxes;

    typeName(QStringLiteral("Half typed"), false);
    click("deleteButton");

    QTest::qWait(50);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(view()->model()->rowCount(), 1);
    QCOMPARE(store->count(QStringLiteral("category")), 1);
    QVERIFY(allEntry());
    QCOMPARE(allEntry()->toolTip(), QStringLiteral("display all cards in main view"));
    QCOMPARE(entryTexts(), QStringList{"Web"});
}

void tst_CategoryForm::failedWritesLeaveMenuAsStored_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("INSERT") << "add";
    QTest::newRow("UPDATE") << "rename";
    QTest::newRow("DELETE") << "delete";
}

void tst_CategoryForm::failedWritesLeaveMenuAsStored()
{
    QFETCH(QString, action);
    store->exec(QStringLiteral("insert into category values(1, 'Web')"));
    store->exec(QStringLiteral("insert into category values(2, 'Bank')"));
    openForm();
    store->makeReadOnly();

    std::shared_ptr<SeenBox> box = answerNextBox();
    if (action == QLatin1String("add")) {
        typeName(QStringLiteral("Travel"), true);
    } else if (action == QLatin1String("rename")) {
        editRow(1, QStringLiteral("Savings"));
    } else {
        view()->setCurrentIndex(view()->model()->index(1, 1));
        click("deleteButton");
    }

    QTRY_VERIFY(box->seen);
    QCOMPARE(box->title, QStringLiteral("Write Error"));
    QVERIFY2(box->text.contains(QLatin1String("readonly")), qPrintable(box->text));
    QCOMPARE(entryTexts(), (QStringList{"Web", "Bank"}));
    QCOMPARE(store->count(QStringLiteral("category")), 2);
    QCOMPARE(store->value(QStringLiteral("select name from category where id = 2")).toString(),
             QStringLiteral("Bank"));
    if (action == QLatin1String("delete"))
        QCOMPARE(view()->model()->index(1, 1).data().toString(), QStringLiteral("Bank"));
}

void tst_CategoryForm::nameColumnFillsTable()
{
    openForm();
    for (const QSize &size : {QSize(300, 240), QSize(520, 400)}) {
        form->resize(size);
        QTRY_COMPARE(view()->columnWidth(1), view()->width());
    }
}

void tst_CategoryForm::editEntryRunsDialog()
{
    window = std::make_unique<MainWindow>();
    QString title;
    onNextModal([&title](QWidget *modal) {
        if (qobject_cast<CategoryForm *>(modal))
            title = modal->windowTitle();
        modal->close();
    });
    QVERIFY(QMetaObject::invokeMethod(window.get(), "editCategory"));
    QCOMPARE(title, QStringLiteral("Edit Category"));
    QVERIFY(!window->findChild<CategoryForm *>());
}

QTEST_MAIN(tst_CategoryForm)
#include "tst_categoryform.moc"
