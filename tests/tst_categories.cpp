// The "&Category" menu and the category editor as a user drives them,
// checked against the store.
#include "category/categoryform.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/qmenuex.h"

#include "teststore.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// Closes every message box that opens while `owner` lives, and records its
// title and text: no box blocks the test or answers a later one.
std::shared_ptr<QStringList> recordBoxes(QObject *owner)
{
    auto texts = std::make_shared<QStringList>();
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [texts]() {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *texts << box->windowTitle() + QStringLiteral(": ") + box->text();
            box->reject();
        }
    });
    timer->start(10);
    return texts;
}

// Types into a cell's editor, as a user does after a double click.
void typeInto(QTableView *view, int row, int column, const QString &text, bool enter)
{
    view->setCurrentIndex(view->model()->index(row, column));
    if (!view->indexWidget(view->currentIndex()))
        view->edit(view->currentIndex());
    auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(view->currentIndex()));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    if (enter) {
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!view->indexWidget(view->currentIndex()));
    }
}

} // namespace

class tst_Categories : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<CategoryForm> form;

    // Categories 0 Zero, 1 Web, 2 Bank, 3 Mail (id 0 is also the data of
    // "&All"); cards stored out of category order, none in Zero.
    void seed(int storedChoice)
    {
        store->exec(QStringLiteral("insert into category values(0, 'Zero'), (1, 'Web'), (2, 'Bank'), (3, 'Mail')"));
        store->exec(QStringLiteral("insert into card values(1, 6, 'Gmail', 3), (2, 2, 'HSBC', 2), "
                                   "(3, 18, 'Shop', 1), (4, 5, 'Visa', 2)"));
        store->exec(QStringLiteral("update option set category = %1").arg(storedChoice));
        window = std::make_unique<MainWindow>();
    }

    QList<QAction *> entries() const
    {
        for (QMenuEx *menu : window->findChildren<QMenuEx *>()) {
            if (menu->title() == QLatin1String("&Category"))
                return menu->actions();
        }
        return {};
    }

    QAction *entry(const QString &text) const
    {
        for (QAction *action : entries()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    QString checkedEntry() const
    {
        QAction *checked = entry(QStringLiteral("&All"))->actionGroup()->checkedAction();
        return checked ? checked->text() : QString();
    }

    QStringList shownCards() const
    {
        const QAbstractItemModel *cards = window->findChild<QTableView *>(QStringLiteral("cardView"))->model();
        QStringList names;
        for (int row = 0; row < cards->rowCount(); ++row)
            names << cards->index(row, 2).data().toString();
        return names;
    }

    void openForm()
    {
        form = std::make_unique<CategoryForm>(window.get());
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    QTableView *formView() const
    {
        return form->findChild<QTableView *>(QStringLiteral("categoryView"));
    }

    void click(const char *button) const
    {
        QTest::mouseClick(form->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }

    // "&Add", then the name typed into the new row.
    void addCategory(const QString &name, bool enter) const
    {
        click("addButton");
        typeInto(formView(), formView()->model()->rowCount() - 1, 1, name, enter);
    }

private slots:
    void init()
    {
        form.reset();
        window.reset();
        store.reset();
        store = std::make_unique<TestStore>();
    }

    void choiceIsAppliedAndKept()
    {
        seed(2);
        QStringList texts;
        for (QAction *action : entries())
            texts << action->text();
        QCOMPARE(texts, (QStringList{"&Edit", "", "&All", "Zero", "Web", "Bank", "Mail"}));
        QCOMPARE(checkedEntry(), QStringLiteral("Bank"));
        QCOMPARE(shownCards(), (QStringList{"HSBC", "Visa"}));

        entry(QStringLiteral("Mail"))->trigger();
        QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), 3);
        window = std::make_unique<MainWindow>();
        QCOMPARE(checkedEntry(), QStringLiteral("Mail"));
        QCOMPARE(shownCards(), QStringList{"Gmail"});

        entry(QStringLiteral("&All"))->trigger();
        QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), -1);
        window = std::make_unique<MainWindow>();
        QCOMPARE(checkedEntry(), QString());
        QCOMPARE(shownCards(), (QStringList{"Gmail", "HSBC", "Shop", "Visa"}));

        store->exec(QStringLiteral("update option set category = 9"));
        window = std::make_unique<MainWindow>();
        QCOMPARE(checkedEntry(), QString());
        QCOMPARE(shownCards(), QStringList());
    }

    // A card name typed before the filter changes is written first; when the
    // store refuses it, the user is told and filter and check stay.
    void filterChangeKeepsTypedName_data()
    {
        QTest::addColumn<bool>("editorOpen");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("choose");

        QTest::newRow("name entered") << false << false << "Mail";
        QTest::newRow("editor still open") << true << false << "Mail";
        QTest::newRow("refused, Mail chosen") << false << true << "Mail";
        QTest::newRow("refused, &All chosen") << true << true << "&All";
    }

    void filterChangeKeepsTypedName()
    {
        QFETCH(bool, editorOpen);
        QFETCH(bool, readOnly);
        QFETCH(QString, choose);
        seed(2);
        typeInto(window->findChild<QTableView *>(QStringLiteral("cardView")), 1, 2, QStringLiteral("Savings"), !editorOpen);
        if (readOnly)
            store->makeReadOnly();
        std::shared_ptr<QStringList> boxes = recordBoxes(window.get());

        entry(choose)->trigger();

        QCOMPARE(boxes->size(), int(readOnly));
        QCOMPARE(store->value(QStringLiteral("select name from card where id = 4")).toString(),
                 readOnly ? QStringLiteral("Visa") : QStringLiteral("Savings"));
        QCOMPARE(shownCards(), (readOnly ? QStringList{"HSBC", "Savings"} : QStringList{"Gmail"}));
        QCOMPARE(checkedEntry(), readOnly ? QStringLiteral("Bank") : choose);
        QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), readOnly ? 2 : 3);
    }

    void newCategoryGetsLargestIdPlusOne()
    {
        window = std::make_unique<MainWindow>();
        openForm();
        addCategory(QStringLiteral("Travel"), true);
        QCOMPARE(store->value(QStringLiteral("select max(id) from category")).toInt(), 1);

        store->exec(QStringLiteral("insert into category values(2, 'Web'), (5, 'Bank')"));
        addCategory(QStringLiteral("Mail"), true);
        QCOMPARE(store->value(QStringLiteral("select id from category where name = 'Mail'")).toInt(), 6);
        QCOMPARE(entry(QStringLiteral("Mail"))->data().toInt(), 6);

        formView()->setCurrentIndex(formView()->model()->index(formView()->model()->rowCount() - 1, 1));
        click("deleteButton");
        QCOMPARE(store->value(QStringLiteral("select max(id) from category")).toInt(), 5);
        addCategory(QStringLiteral("Shop"), true);
        QCOMPARE(store->value(QStringLiteral("select id from category where name = 'Shop'")).toInt(), 6);
        QCOMPARE(entry(QStringLiteral("Shop"))->data().toInt(), 6);
    }

    // Whatever the user does in the editor, the menu shows what the store
    // holds afterwards: one entry per category in id order, "&All" untouched,
    // and entries that stay are kept in place.
    void editorKeepsMenuAsStored_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("names");

        // Typed names are always this one: an "&" to show, quotes to store.
        const QString odd = QStringLiteral("O'Brien & \"Bank\" 100%");
        const QStringList base{"Zero", "Web", "Bank", "Mail"};
        const QString refused = QStringLiteral("Delete Category: Cannot delete ");
        const QString writeError = QStringLiteral("Write Error: The changes could not be written");
        QTest::newRow("new, Enter") << "enter" << -1 << "" << "" << base + QStringList{odd};
        QTest::newRow("new, no Enter, Close") << "type" << -1 << "" << "" << base;
        QTest::newRow("new, no Enter, other row") << "leave" << -1 << "" << "" << base + QStringList{odd};
        QTest::newRow("new, no Enter, Delete") << "drop" << -1 << "" << "" << base;
        QTest::newRow("rename") << "enter" << 2 << "" << "" << QStringList{"Zero", "Web", odd, "Mail"};
        QTest::newRow("rename id 0") << "enter" << 0 << "" << "" << QStringList{odd, "Web", "Bank", "Mail"};
        QTest::newRow("delete, no current cell") << "delete" << -1 << "" << "" << base;
        QTest::newRow("delete, has cards")
            << "delete" << 2 << "" << refused + "Bank because there are Cards associated" << base;
        QTest::newRow("delete, cards not counted")
            << "delete" << 3 << "no card table" << refused + "Mail because its cards could not be counted" << base;
        QTest::newRow("delete, empty, id 0") << "delete" << 0 << "" << "" << QStringList{"Web", "Bank", "Mail"};
        QTest::newRow("INSERT fails") << "enter" << -1 << "read-only" << writeError << base;
        QTest::newRow("UPDATE fails") << "enter" << 2 << "read-only" << writeError << base;
        QTest::newRow("DELETE fails") << "delete" << 0 << "read-only" << writeError << base;
    }

    void editorKeepsMenuAsStored()
    {
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(QString, broken);
        QFETCH(QString, box);
        QFETCH(QStringList, names);
        seed(-1);
        openForm();
        const QList<QAction *> before = entries();
        if (broken == QLatin1String("read-only"))
            store->makeReadOnly();
        if (broken == QLatin1String("no card table"))
            store->exec(QStringLiteral("alter table card rename to gone"));
        std::shared_ptr<QStringList> boxes = recordBoxes(window.get());

        const QString odd = QStringLiteral("O'Brien & \"Bank\" 100%");
        if (action == QLatin1String("delete"))
            formView()->setCurrentIndex(formView()->model()->index(row, 1));
        else if (row >= 0)
            typeInto(formView(), row, 1, odd, true);
        else
            addCategory(odd, action == QLatin1String("enter"));
        if (action == QLatin1String("leave"))
            formView()->setCurrentIndex(formView()->model()->index(1, 1));
        if (action == QLatin1String("delete") || action == QLatin1String("drop"))
            click("deleteButton");
        QTest::qWait(20);
        QTRY_COMPARE(boxes->size(), int(!box.isEmpty()));
        if (!box.isEmpty())
            QVERIFY2(boxes->constFirst().startsWith(box), qPrintable(boxes->constFirst()));
        if (action == QLatin1String("delete"))
            QCOMPARE(formView()->model()->rowCount(), names.size());
        click("closeButton");
        form.reset();

        QCOMPARE(store->value(QStringLiteral("select group_concat(name, '|') from (select name from category order by id)"))
                     .toString(),
                 names.join(QLatin1Char('|')));
        const QList<QAction *> after = entries();
        QCOMPARE(after.size(), 3 + names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(after.at(3 + i)->text(), QString(names.at(i)).replace(QLatin1Char('&'), QLatin1String("&&")));
            QCOMPARE(after.at(3 + i)->toolTip(), QStringLiteral("display cards beong to %1 category").arg(names.at(i)));
        }
        QCOMPARE(after.at(2), before.at(2));
        QCOMPARE(after.at(2)->text(), QStringLiteral("&All"));
        QCOMPARE(after.at(2)->toolTip(), QStringLiteral("display all cards in main view"));
        if (after.size() == before.size())
            QCOMPARE(after, before);
    }
};

QTEST_MAIN(tst_Categories)
#include "tst_categories.moc"
