#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

inline void print(const char *name, double value)
{
    std::printf("%s: %.3f\n", name, value);
    std::fflush(stdout);
}

// Fills the open store with one category and `cardCount` cards named
// "card <id>", each with `linesPerCard` lines titled "Title <n>" and valued
// by `value(card, n)`, in one transaction.
inline bool fillBenchStore(int cardCount, int linesPerCard, const std::function<QString(int, int)> &value)
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
            line.addBindValue(value(id, n));
            line.addBindValue(id);
            if (!line.exec())
                return false;
        }
    }
    return store.commit();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Fills the store as above and prints how long it took; false, said why, on failure.
inline bool buildBenchStore(int cardCount, int linesPerCard, const std::function<QString(int, int)> &value)
{
    QElapsedTimer clock;
    clock.start();
    if (!fillBenchStore(cardCount, linesPerCard, value)) {
        std::fprintf(stderr, "building the store failed\n");
        return false;
    }
    print("store_build_s", clock.nsecsElapsed() / 1e9);
    return true;
}

// Shows the window, made after the store is built, at a size that holds many rows.
inline bool showBenchWindow(QWidget &window)
{
    window.resize(900, 800);
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

#endif
