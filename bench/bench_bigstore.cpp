// A store of 100,000 cards and 1,000,000 lines: the check of the store at
// start, then from the click on "&Login" to the painted card table, then
// Ctrl+End to the last card and "&Add" of a new one.
#include "teststore.h"

#include "access/gate.h"
#include "access/login.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/openmainwindow.h"
#include "store/settingsrow.h"
#include "store/storecheck.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <cstdio>

namespace {

constexpr int cardCount = 100000;
constexpr int lineCount = 1000000;

void print(const char *name, double value)
{
    std::printf("%s: %.1f\n", name, value);
    std::fflush(stdout);
}

double elapsedMs(const QElapsedTimer &clock)
{
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestStore store(QStringLiteral("insert into category values(1, 'Home'), (2, 'Work');"
                                   "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                                   "insert into card select i, i % 18 + 1, 'card ' || i, i % 2 + 1 from n;"
                                   "with recursive n(i) as (select 1 union all select i + 1 from n where i < %2) "
                                   "insert into content select i, 'Title ' || (i % 10), 'value of line ' || i, "
                                   "(i - 1) / 10 + 1 from n")
                        .arg(cardCount)
                        .arg(lineCount));
    QElapsedTimer clock;
    clock.start();
    if (StoreCheck::run(false).verdict != StoreCheck::Verdict::Sound) {
        std::fprintf(stderr, "the store was not found sound\n");
        return 1;
    }
    print("store_check_ms", elapsedMs(clock));
    SettingsRow::setPassword(QStringLiteral("bench"));
    MainWindow *window = nullptr;
    Gate::setMainWindowOpener([&window]() -> QWidget * { return window = openMainWindow(); });

    Login login;
    login.show();
    if (!QTest::qWaitForWindowExposed(&login))
        return 1;
    login.findChild<QLineEdit *>()->setText(QStringLiteral("bench"));
    clock.restart();
    QTest::mouseClick(login.findChild<QPushButton *>(), Qt::LeftButton);
    if (!window || !QTest::qWaitForWindowExposed(window))
        return 1;
    auto *view = window->findChild<QTableView *>(QStringLiteral("cardView"));
    view->viewport()->repaint();
    print("login_to_table_ms", elapsedMs(clock));

    view->setCurrentIndex(view->model()->index(0, 2));
    clock.restart();
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    view->viewport()->repaint();
    print("ctrl_end_ms", elapsedMs(clock));
    if (view->currentIndex().siblingAtColumn(2).data().toString() != QStringLiteral("card %1").arg(cardCount)) {
        std::fprintf(stderr, "Ctrl+End did not reach the last card\n");
        return 1;
    }

    clock.restart();
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("addButton")), Qt::LeftButton);
    view->viewport()->repaint();
    print("add_ms", elapsedMs(clock));
    const QModelIndex added = view->currentIndex();
    if (added.siblingAtColumn(0).data().toInt() != cardCount + 1 || !view->indexWidget(added)) {
        std::fprintf(stderr, "the new card is not being edited\n");
        return 1;
    }
    delete window;
    return 0;
}
