// Finding a card in a big store: 100,000 cards with 10 lines each.
#include "benchsupport.h"
#include "teststore.h"

#include "mainwindow/findbar.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <cstdio>

namespace {

constexpr int cardCount = 100000;
constexpr int linesPerCard = 10;
constexpr int needleCard = 54321;

// From the end of the typing pause to the first match drawn, over runs that
// alternate between two spellings of the text.
double findMs(MainWindow &window, const QString &text, const QString &otherCase, int expected)
{
    auto *bar = window.findChild<FindBar *>();
    auto *field = bar->findChild<QLineEdit *>(QStringLiteral("findField"));
    auto *view = window.findChild<QTableView *>(QStringLiteral("cardView"));
    std::vector<double> runs;
    QElapsedTimer clock;
    for (int i = 0; i < 11; ++i) {
        field->clear();
        QTest::keyClicks(field, i % 2 ? otherCase : text);
        clock.start();
        bar->flush();
        view->viewport()->repaint();
        runs.push_back(clock.nsecsElapsed() / 1e6);
        if (view->model()->rowCount() != expected) {
            std::fprintf(stderr, "\"%s\" found %d cards\n", qPrintable(text), view->model()->rowCount());
            return -1;
        }
    }
    return median(runs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestStore store;
    // One line of one card holds a word that no other holds.
    const auto value = [](int id, int n) {
        return id == needleCard && n == 7 ? QStringLiteral("Zebra horizon")
                                          : QStringLiteral("value %1 of card %2").arg(n).arg(id);
    };
    if (!buildBenchStore(cardCount, linesPerCard, value))
        return 1;
    MainWindow window;
    if (!showBenchWindow(window))
        return 1;
    QMetaObject::invokeMethod(&window, "openFind");
    // A word of one line of one card, and a text every card's lines hold.
    const double rare = findMs(window, QStringLiteral("zebra"), QStringLiteral("ZEBRA"), 1);
    const double common = findMs(window, QStringLiteral("Title 3"), QStringLiteral("title 3"), cardCount);
    if (rare < 0 || common < 0)
        return 1;
    print("find_ms", rare);
    print("find_all_cards_ms", common);
    return 0;
}
