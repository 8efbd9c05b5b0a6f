// The login of an encrypted store, whose key Argon2id derives at libsodium's
// moderate limits, and the longest the event loop stood still meanwhile.
// Then a store of 100,000 cards and 1,000,000 lines: the check of the store
// at start, then from the click on "&Login" to the painted card table, then
// Ctrl+End to the last card and "&Add" of a new one.
#include "teststore.h"

#include "access/gate.h"
#include "access/login.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/openmainwindow.h"
#include "store/settingsrow.h"
#include "store/storecheck.h"
#include "store/storeencryption.h"
#include "store/storekey.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
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

// Logs in with `password` at a shown login, `clock` started at the click;
// the main window it opened.
MainWindow *logIn(const QString &password, QElapsedTimer &clock)
{
    MainWindow *window = nullptr;
    Gate::setMainWindowOpener([&window]() -> QWidget * { return window = openMainWindow(); });
    Login login;
    login.show();
    if (!QTest::qWaitForWindowExposed(&login))
        return nullptr;
    login.findChild<QLineEdit *>()->setText(password);
    clock.start();
    QTest::mouseClick(login.findChild<QPushButton *>(), Qt::LeftButton);
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

bool encryptedLogin()
{
    TestStore store(QStringLiteral("insert into category values(1, 'Home'); "
                                   "insert into card values(1, 18, 'forum', 1)"));
    bool compacted = false;
    QString error;
    if (!StoreEncryption::encrypt(
            QStringLiteral("bench"), [](int, int) {}, &compacted, &error))
        return false;
    StoreKey::clear();
    QElapsedTimer tick;
    double longestPause = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&]() {
        longestPause = std::max(longestPause, elapsedMs(tick));
        tick.restart();
    });
    ticker.start(5);
    tick.start();
    QElapsedTimer clock;
    MainWindow *window = logIn(QStringLiteral("bench"), clock);
    print("login_encrypted_ms", elapsedMs(clock));
    print("login_longest_pause_ms", longestPause);
    delete window;
    return window != nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!encryptedLogin()) {
        std::fprintf(stderr, "the encrypted store did not open\n");
        return 1;
    }
    TestStore store(QStringLiteral("insert into category values(1, 'Home'), (2, 'Work');"
                                   "with recursive n(i) as (select 1 union all select i + 1 "
                                   "from n where i < %1) "
                                   "insert into card select i, i % 18 + 1, 'card ' || i, i % "
                                   "2 + 1 from n;"
                                   "with recursive n(i) as (select 1 union all select i + 1 "
                                   "from n where i < %2) "
                                   "insert into content select i, 'Title ' || (i % 10), "
                                   "'value of line ' || i, "
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
    MainWindow *window = logIn(QStringLiteral("bench"), clock);
    if (!window)
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
