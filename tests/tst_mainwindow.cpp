#include "modalanswer.h"
#include "teststore.h"

#include "mainwindow/mainwindow.h"
#include "widgets/qmenuex.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

namespace {

QList<QMenu *> menusOf(QWidget *window)
{
    QList<QMenu *> menus;
    for (QAction *action : window->findChild<QMenuBar *>()->actions())
        if (action->menu())
            menus << action->menu();
    return menus;
}

// Each entry as "text|tool tip|shortcut|icon", a separator as "-".
QStringList entriesOf(QMenu *menu)
{
    QStringList entries;
    for (QAction *action : menu->actions()) {
        const bool icon = !action->icon().pixmap(16).isNull();
        entries << (action->isSeparator() ? QString("-")
                                          : QStringList{action->text(), action->toolTip(),
                                                        action->shortcut().toString(), icon ? "icon" : ""}
                                                .join('|'));
    }
    return entries;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menusAndEntries();
    void cardTable();
    void menuToolTips();
    void editedNameIsSaved_data();
    void editedNameIsSaved();
    void failedSaveAtCloseKeepsTheEdit();
    void iconsComeAtTwiceTheirSize();

private:
    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    void typeName(const QString &name, bool commit);

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

void TestMainWindow::init()
{
    store = std::make_unique<TestStore>();
    store->exec("insert into card values(1, 13, 'first', 0)");
    store->exec("insert into card values(2, 18, 'second', 0)");
    window = std::make_unique<MainWindow>();
    window->resize(800, 500);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestMainWindow::cleanup()
{
    window.reset();
    store.reset();
}

void TestMainWindow::menusAndEntries()
{
    QStringList titles;
    for (QAction *action : window->findChild<QMenuBar *>()->actions())
        titles << (action->isSeparator() ? QString("-") : action->text());
    QCOMPARE(titles, QStringList({"&Category", "Ca&rd", "&Options", "-", "&Help"}));

    const QList<QMenu *> menus = menusOf(window.get());
    for (QMenu *menu : menus)
        QVERIFY(qobject_cast<QMenuEx *>(menu));
    QCOMPARE(menus.size(), 4);
    QCOMPARE(entriesOf(menus.at(0)), QStringList({"&Edit|open Edit Category dialog|Ctrl+E|icon", "-",
                                                  "&All|display all cards in main view|Ctrl+A|icon"}));
    QCOMPARE(entriesOf(menus.at(1)), QStringList({"&Open|open current indexical card|Ctrl+O|icon",
                                                  "&Add|add a new card|Ctrl+N|icon",
                                                  "&Delete|delete a card|Ctrl+D|icon"}));
    QCOMPARE(entriesOf(menus.at(2)), QStringList({"Set &Password|chang password||icon", "&Language|Language||icon",
                                                  "Export Data...|export cards database||icon",
                                                  "Import Data...|import cards database||icon"}));
    QCOMPARE(entriesOf(menus.at(3)), QStringList({"&Help|Help||icon", "-", "&About|About||icon"}));
    QAction *all = menus.at(0)->actions().at(2);
    QVERIFY(all->isCheckable());
    QVERIFY(!all->isChecked());
    QCOMPARE(all->data().toInt(), 0);

    QMenu *language = menus.at(2)->actions().at(1)->menu();
    QVERIFY(qobject_cast<QMenuEx *>(language));
    QCOMPARE(entriesOf(language), QStringList({"English|switch langange to English||",
                                               "Chinese(Simplified)|switch language to simplified chinese||"}));

    QCOMPARE(window->windowTitle(), QString("Nimbrel 2.12"));
    QVERIFY(!window->windowIcon().pixmap(16).isNull());
}

void TestMainWindow::cardTable()
{
    QTableView *table = view();
    QVERIFY(table->isColumnHidden(0));
    QCOMPARE(table->rowHeight(1), 36);
    QCOMPARE(table->model()->index(1, 2).data().toString(), QString("second"));

    // The three columns share the table's width.
    const int margin = window->width() - table->width();
    window->resize(600 + margin, 400);
    QCoreApplication::processEvents();
    QCOMPARE(table->width(), 600);
    for (int column : {1, 2, 3})
        QCOMPARE(table->columnWidth(column), 185);

    // Narrower than the rule allows: the width stays positive.
    table->resize(30, 200);
    QResizeEvent event(window->size(), window->size());
    QCoreApplication::sendEvent(window.get(), &event);
    QVERIFY(table->columnWidth(2) > 0);
}

void TestMainWindow::menuToolTips()
{
    auto tipAt = [](QMenu *menu, QAction *action) {
        const QPoint pos = menu->actionGeometry(action).center();
        QHelpEvent event(QEvent::ToolTip, pos, menu->mapToGlobal(pos));
        return QCoreApplication::sendEvent(menu, &event);
    };
    const QList<QMenu *> menus = menusOf(window.get());
    QMenu *help = menus.at(3);
    help->popup(window->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(help));

    QVERIFY(tipAt(help, help->actions().at(2)));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QString("About"));

    // A separator has no tip: the one that was up goes away.
    QVERIFY(tipAt(help, help->actions().at(1)));
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 2000);
    help->hide();

    QMenu *card = menus.at(1);
    card->popup(window->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(card));
    QVERIFY(tipAt(card, card->actions().at(1)));
    QTRY_COMPARE(QToolTip::text(), QString("add a new card"));
    card->hide();
}

void TestMainWindow::typeName(const QString &name, bool commit)
{
    QTableView *table = view();
    const QModelIndex index = table->model()->index(0, 2);
    table->setCurrentIndex(index);
    table->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(table->indexWidget(index));
    QVERIFY(editor);
    editor->selectAll();
    // QTest types Latin-1 only; other text arrives as an input method would put it.
    if (QString::fromLatin1(name.toLatin1()) == name)
        QTest::keyClicks(editor, name);
    else
        editor->insert(name);
    if (commit) {
        // The delegate commits on Return from a queued call.
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
}

void TestMainWindow::editedNameIsSaved_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("commit");
    QTest::addColumn<QString>("name");
    QTest::newRow("close button") << "button" << true << "renamed";
    QTest::newRow("close button, editor open") << "button" << false << "renamed";
    QTest::newRow("title bar, editor open") << "titlebar" << false << "renamed";
    QTest::newRow("escape") << "escape" << true << "renamed";
    QTest::newRow("quotes and chinese") << "button" << true << QString::fromUtf8("it's \"银行\" %1 \\");
}

void TestMainWindow::editedNameIsSaved()
{
    QFETCH(QString, how);
    QFETCH(bool, commit);
    QFETCH(QString, name);
    typeName(name, commit);
    if (how == "button")
        QTest::mouseClick(window->findChild<QPushButton *>("closeButton"), Qt::LeftButton);
    else if (how == "titlebar")
        window->close();
    else
        QTest::keyClick(view(), Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCOMPARE(store->value("select name from card where id = 1").toString(), name);
    QCOMPARE(store->value("select name from card where id = 2").toString(), QString("second"));
}

void TestMainWindow::failedSaveAtCloseKeepsTheEdit()
{
    typeName("renamed", true);
    store->makeReadOnly();

    auto failure = answerNextBox(QMessageBox::Ok);
    onNextModal([](QWidget *) {});
    QTimer::singleShot(0, [] {
        // After the failure message comes the question; keep the window open.
        answerNextBox(QMessageBox::No);
    });
    window->close();
    QVERIFY(failure->seen);
    QVERIFY(failure->text.contains("readonly"));
    QVERIFY(window->isVisible());
    QCOMPARE(view()->model()->index(0, 2).data().toString(), QString("renamed"));
    QCOMPARE(store->value("select name from card where id = 1").toString(), QString("first"));
}

void TestMainWindow::iconsComeAtTwiceTheirSize()
{
    // Qt finds the twin by its "@2x" name when the screen is scaled by 2.
    int icons = 0;
    for (const char *dir : {":/menuicon", ":/cardicon"}) {
        for (const QFileInfo &file : QDir(dir).entryInfoList({"*.png"})) {
            if (file.completeBaseName().endsWith("@2x"))
                continue;
            ++icons;
            const QImage twin(file.path() + '/' + file.completeBaseName() + "@2x.png");
            QCOMPARE(QImage(file.filePath()).size(), QSize(32, 32));
            QVERIFY2(twin.size() == QSize(64, 64), qPrintable(file.filePath()));
        }
    }
    QCOMPARE(icons, 22 + 18);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
