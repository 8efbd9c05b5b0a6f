// What a user meets on a real display, where windows take the focus and a
// table that takes it makes its first cell current by itself: commands that
// delete or overwrite without asking leave that cell alone.
#include "vaulttest.h"

#include "cardeditor/cardform.h"
#include "category/categoryform.h"
#include "xvfbdisplay.h"

namespace {

// Started before the application, which then runs on it.
const XvfbDisplay display;

void click(QWidget *window, const char *button)
{
    QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
}

void clickCell(QTableView *view, int row, int column)
{
    const QRect cell = view->visualRect(view->model()->index(row, column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

// The window system activates a window some events after it is exposed.
#define WAIT_ACTIVE(widget) QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(widget))

class TestFocus : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!display.isRunning())
            QSKIP(qPrintable("needs a real display: " + display.failure));
    }

    void reopenedCardEditorDeletesNoUnchosenLine()
    {
        TestStore store("insert into card values(1, 3, 'mail', 0)");
        MainWindow window;
        window.show();
        window.activateWindow();
        WAIT_ACTIVE(&window);
        clickCell(window.findChild<QTableView *>("cardView"), 0, 2);
        click(&window, "openButton");
        auto *form = window.findChild<CardForm *>();
        WAIT_ACTIVE(form);
        click(form, "closeButton");

        // Opened again, the editor shows its first value chosen: a delete takes that line.
        window.activateWindow();
        WAIT_ACTIVE(&window);
        click(&window, "openButton");
        WAIT_ACTIVE(form);
        auto *lines = form->findChild<QTableView *>("contentView");
        QCOMPARE(lines->currentIndex(), lines->model()->index(0, 2));
        trigger(form, "&Delete Line");
        // Then no cell is chosen: nothing is deleted or overwritten.
        QGuiApplication::clipboard()->setText("pasted");
        QVERIFY(lines->hasFocus());
        trigger(form, "&Delete Line");
        trigger(form, "&Paste");
        click(form, "closeButton");
        QCOMPARE(store.value("select group_concat(title || '=' || value) from content").toString(),
                 QString("Username=,Password=,Note="));

        // A line the user clicked is the one deleted.
        click(&window, "openButton");
        WAIT_ACTIVE(form);
        clickCell(lines, 2, 2);
        trigger(form, "&Delete Line");
        QCOMPARE(store.value("select group_concat(title) from content").toString(), QString("Username,Password"));
    }

    void categoryEditorDeletesNothingRightAfterOpening()
    {
        TestStore store("insert into category values(1, 'Empty'), (2, 'Web')");
        MainWindow window;
        CategoryForm form(&window, &window);
        form.show();
        form.activateWindow();
        WAIT_ACTIVE(&form);
        auto *view = form.findChild<QTableView *>("categoryView");
        // Qt has made the first cell current; the user has chosen nothing.
        QTRY_VERIFY(view->currentIndex().isValid());
        click(&form, "deleteButton");
        QCOMPARE(store.count("category"), 2);
        clickCell(view, 1, 1);
        click(&form, "deleteButton");
        QCOMPARE(store.value("select group_concat(name) from category").toString(), QString("Empty"));
    }
};

QTEST_MAIN(TestFocus)

#include "tst_focus.moc"
