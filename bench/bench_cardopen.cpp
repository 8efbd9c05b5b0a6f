// Opening one card in a big store: 10,000 cards with 100 lines each.
#include "teststore.h"

#include "cardeditor/cardform.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int cardCount = 10000;
constexpr int linesPerCard = 100;

bool buildStore()
{
    QSqlDatabase store = QSqlDatabase::database();
    store.transaction();
    QSqlQuery category;
    category.exec(QStringLiteral("insert into category values(1, 'Bench')"));
    QSqlQuery card;
    card.prepare(QStringLiteral("insert into card values(?, ?, ?, 1)"));
    QSqlQuery line;
    line.prepare(QStringLiteral("insert into content values(?, ?, ?, ?)"));
    int lineId = 0;
    for (int id = 1; id <= cardCount; ++id) {
        card.addBindValue(id);
        card.addBindValue(id % 18 + 1);
        card.addBindValue(QStringLiteral("card %1").arg(id));
        if (!card.exec())
            return false;
        for (int n = 0; n < linesPerCard; ++n) {
            line.addBindValue(++lineId);
            line.addBindValue(QStringLiteral("Title %1").arg(n));
            line.addBindValue(QStringLiteral("value %1 of card %2").arg(n).arg(id));
            line.addBindValue(id);
            if (!line.exec())
                return false;
        }
    }
    return store.commit();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void print(const char *name, double value)
{
    std::printf("%s: %.3f\n", name, value);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestStore store;
    QElapsedTimer clock;
    clock.start();
    if (!buildStore()) {
        std::fprintf(stderr, "building the store failed\n");
        return 1;
    }
    print("store_build_s", clock.nsecsElapsed() / 1e9);

    MainWindow window;
    window.resize(900, 800);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto *view = window.findChild<QTableView *>(QStringLiteral("cardView"));
    QAbstractItemModel *cards = view->model();
    while (cards->canFetchMore(QModelIndex()))
        cards->fetchMore(QModelIndex());

    std::vector<double> repaints;
    for (int i = 0; i < 21; ++i) {
        clock.restart();
        view->viewport()->repaint();
        repaints.push_back(clock.nsecsElapsed() / 1e6);
    }
    print("rows_per_window", view->viewport()->height() / 36.0);
    print("repaint_ms", median(repaints));

    // The first opening creates the editor and is not counted.
    view->setCurrentIndex(cards->index(0, 2));
    QMetaObject::invokeMethod(&window, "openCard");
    std::vector<double> openings;
    int row = 0;
    for (int i = 0; i < 100; ++i) {
        row = (i * 9973 + 17) % cardCount;
        view->setCurrentIndex(cards->index(row, 2));
        clock.restart();
        QMetaObject::invokeMethod(&window, "openCard");
        openings.push_back(clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
    }
    auto *form = window.findChild<CardForm *>();
    if (!form || form->shownCard() != row + 1
        || form->findChild<QTableView *>()->model()->rowCount() != linesPerCard) {
        std::fprintf(stderr, "the editor did not show the card's lines\n");
        return 1;
    }
    print("open_card_median_ms", median(openings));
    return 0;
}
