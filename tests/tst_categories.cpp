// The "&Category" menu and the category editor as a user drives them,
// checked against the store.
#include "category/categoryform.h"
#include "mainwindow/mainwindow.h"
#include "widgets/qmenuex.h"

#include "teststore.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// Every name the user types: an "&" to show, quotes to store.
const QString oddName = QStringLiteral("O'Brien & \"Bank\" 100%");

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
    if (enter)
        QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits an entered name from a queued call.
    QCoreApplication::processEvents();
}

} // namespace

class tst_Categories : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
    // Owned by the window, which deletes it.
    CategoryForm *form = nullptr;
    QTableView *formView = nullptr;
    // Title and first line of every message box, each closed at once: no box
    // blocks a test.
    QStringList boxes;
    QTimer boxCloser;

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
        form = new CategoryForm(window.get(), window.get());
        formView = form->findChild<QTableView *>(QStringLiteral("categoryView"));
        form->show();
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
    }

    // "&Add", then the name typed into the new row; returns the largest id
    // stored then.
    int addCategory(const QString &name, bool enter) const
    {
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("addButton")), Qt::LeftButton);
        typeInto(formView, formView->model()->rowCount() - 1, 1, name, enter);
        return store->value(QStringLiteral("select max(id) from category")).toInt();
    }

private slots:
    void initTestCase()
    {
        connect(&boxCloser, &QTimer::timeout, this, [this]() {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + QStringLiteral(": ") + box->text().section(QLatin1Char('\n'), 0, 0);
                box->reject();
            }
        });
        boxCloser.start(10);
    }

    void init()
    {
        boxes.clear();
        window.reset();
        store.reset();
        store = std::make_unique<TestStore>();
    }

    // Changing the filter writes a typed card name first, also with its
    // editor still open; the choice is stored and in force after a restart.
    void choiceIsAppliedAndKept()
    {
        seed(2);
        QCOMPARE(checkedEntry(), QStringLiteral("Bank"));
        QCOMPARE(shownCards(), (QStringList{"HSBC", "Visa"}));

        typeInto(window->findChild<QTableView *>(QStringLiteral("cardView")), 1, 2, QStringLiteral("Savings"), true);
        entry(QStringLiteral("Mail"))->trigger();
        window = std::make_unique<MainWindow>();
        QCOMPARE(checkedEntry(), QStringLiteral("Mail"));
        QCOMPARE(shownCards(), QStringList{"Gmail"});

        typeInto(window->findChild<QTableView *>(QStringLiteral("cardView")), 0, 2, QStringLiteral("Mailbox"), false);
        entry(QStringLiteral("&All"))->trigger();
        window = std::make_unique<MainWindow>();
        QCOMPARE(checkedEntry(), QString());
        QCOMPARE(shownCards(), (QStringList{"Mailbox", "HSBC", "Shop", "Savings"}));

        store->exec(QStringLiteral("update option set category = 9"));
        window = std::make_unique<MainWindow>();
        QCOMPARE(checkedEntry(), QString());
        QCOMPARE(shownCards(), QStringList());
        QCOMPARE(boxes, QStringList());
    }

    // When the store refuses the typed name, the user is told and filter and
    // check stay as they were.
    void refusedSaveKeepsFilter()
    {
        seed(2);
        typeInto(window->findChild<QTableView *>(QStringLiteral("cardView")), 1, 2, QStringLiteral("Savings"), true);
        store->makeReadOnly();
        for (const QString &choice : {QStringLiteral("Mail"), QStringLiteral("&All")}) {
            entry(choice)->trigger();
            QCOMPARE(shownCards(), (QStringList{"HSBC", "Savings"}));
            QCOMPARE(checkedEntry(), QStringLiteral("Bank"));
            QCOMPARE(store->value(QStringLiteral("select category from option")).toInt(), 2);
        }
        QCOMPARE(boxes.size(), 2);
    }

    void newCategoryGetsLargestIdPlusOne()
    {
        window = std::make_unique<MainWindow>();
        openForm();
        QCOMPARE(addCategory(QStringLiteral("Travel"), true), 1);
        store->exec(QStringLiteral("insert into category values(2, 'Web'), (5, 'Bank')"));
        QCOMPARE(addCategory(QStringLiteral("Mail"), true), 6);
        formView->setCurrentIndex(formView->model()->index(formView->model()->rowCount() - 1, 1));
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("deleteButton")), Qt::LeftButton);
        QCOMPARE(addCategory(QStringLiteral("Shop"), true), 6);
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
        QTest::addColumn<QStringList>("box");
        QTest::addColumn<QStringList>("names");

        const QStringList base{"Zero", "Web", "Bank", "Mail"};
        const QStringList none;
        const QStringList writeError{"Write Error: The changes could not be written to the store:"};
        const QStringList hasCards{"Delete Category: Cannot delete Bank because there are Cards associated with this "
                                   "category in the collection."};
        const QStringList uncounted{"Delete Category: Cannot delete Mail because its cards could not be counted:"};
        QTest::newRow("new, Enter") << "enter" << -1 << "" << none << base + QStringList{oddName};
        QTest::newRow("new, no Enter, Close") << "type" << -1 << "" << none << base;
        QTest::newRow("new, no Enter, other row") << "leave" << -1 << "" << none << base + QStringList{oddName};
        QTest::newRow("new, no Enter, Delete") << "drop" << -1 << "" << none << base;
        QTest::newRow("rename id 0") << "enter" << 0 << "" << none << QStringList{oddName, "Web", "Bank", "Mail"};
        QTest::newRow("delete, no current cell") << "delete" << -1 << "" << none << base;
        QTest::newRow("delete, has cards") << "delete" << 2 << "" << hasCards << base;
        QTest::newRow("delete, cards uncounted") << "delete" << 3 << "no card table" << uncounted << base;
        QTest::newRow("delete, empty, id 0") << "delete" << 0 << "" << none << QStringList{"Web", "Bank", "Mail"};
        QTest::newRow("INSERT fails") << "enter" << -1 << "read-only" << writeError << base;
        QTest::newRow("UPDATE fails") << "enter" << 2 << "read-only" << writeError << base;
        QTest::newRow("DELETE fails") << "delete" << 0 << "read-only" << writeError << base;
    }

    void editorKeepsMenuAsStored()
    {
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(QString, broken);
        QFETCH(QStringList, box);
        QFETCH(QStringList, names);
        seed(-1);
        openForm();
        const QList<QAction *> before = entries();
        if (broken == QLatin1String("read-only"))
            store->makeReadOnly();
        if (broken == QLatin1String("no card table"))
            store->exec(QStringLiteral("alter table card rename to gone"));

        if (action == QLatin1String("delete"))
            formView->setCurrentIndex(formView->model()->index(row, 1));
        else if (row >= 0)
            typeInto(formView, row, 1, oddName, true);
        else
            addCategory(oddName, action == QLatin1String("enter"));
        if (action == QLatin1String("leave"))
            formView->setCurrentIndex(formView->model()->index(1, 1));
        if (action == QLatin1String("delete") || action == QLatin1String("drop"))
            QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("deleteButton")), Qt::LeftButton);
        QTRY_COMPARE(boxes, box);
        if (action == QLatin1String("delete"))
            QCOMPARE(formView->model()->rowCount(), names.size());
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);

        QCOMPARE(store->value(QStringLiteral("select group_concat(name) from category")).toString(), names.join(','));
        const QString tip = QStringLiteral("%1: display cards beong to %2 category");
        QStringList menu{QStringLiteral("&All: display all cards in main view")};
        for (const QString &name : names)
            menu << tip.arg(QString(name).replace('&', "&&"), name);
        QStringList shown;
        for (QAction *action : entries().mid(2))
            shown << action->text() + QStringLiteral(": ") + action->toolTip();
        QCOMPARE(shown, menu);
        if (entries().size() == before.size())
            QCOMPARE(entries(), before);
    }
};

QTEST_MAIN(tst_Categories)
#include "tst_categories.moc"
