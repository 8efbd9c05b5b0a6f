// Opening one card in a big store: 10,000 cards with 100 lines each.
#include "benchsupport.h"
#include "teststore.h"

#include "cardeditor/cardform.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableView>
#include <QTest>

#include <cstdio>

namespace {

constexpr int cardCount = 10000;
constexpr int linesPerCard = 100;

// Counts the paint events of a widget.
class PaintCount : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestStore store;
    if (!buildBenchStore(cardCount, linesPerCard,
                         [](int id, int n) { return QStringLiteral("value %1 of card %2").arg(n).arg(id); }))
        return 1;
    MainWindow window;
    if (!showBenchWindow(window))
        return 1;
    QElapsedTimer clock;
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
    auto *form = window.findChild<CardForm *>();
    if (!form || !QTest::qWaitForWindowExposed(form)) {
        std::fprintf(stderr, "the editor did not show\n");
        return 1;
    }
    auto *lines = form->findChild<QTableView *>();
    PaintCount painted;
    lines->viewport()->installEventFilter(&painted);
    QCoreApplication::processEvents();
    std::vector<double> openings;
    int row = 0;
    for (int i = 0; i < 100; ++i) {
        row = (i * 9973 + 17) % cardCount;
        view->setCurrentIndex(cards->index(row, 2));
        painted.count = 0;
        clock.restart();
        QMetaObject::invokeMethod(&window, "openCard");
        // The user has the card once the editor is laid out and painted:
        // both wait in the event queue until the opening returns.
        QCoreApplication::sendPostedEvents();
        openings.push_back(clock.nsecsElapsed() / 1e6);
        if (painted.count == 0) {
            std::fprintf(stderr, "the editor's lines were not painted\n");
            return 1;
        }
    }
    if (form->shownCard() != row + 1 || lines->model()->rowCount() != linesPerCard) {
        std::fprintf(stderr, "the editor did not show the card's lines\n");
        return 1;
    }
    print("open_card_median_ms", median(openings));
    return 0;
}
