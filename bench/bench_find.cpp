// Finding a card in a big store: 100,000 cards with 10 lines each, one line
// in ten in Chinese.
#include "benchsupport.h"
#include "teststore.h"

#include "mainwindow/findbar.h"
#include "mainwindow/mainwindow.h"
#include "store/cardtextindex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <cstdio>

namespace {

constexpr int cardCount = 100000;
constexpr int linesPerCard = 10;
constexpr int needleCard = 54321;

// Characters none of whose readings begin with h, s, y or z, so that no
// generated line reads as the needle's pinyin.
const QString pool = QString::fromUtf8("东南西北大小天地人木金土江路门口公");

QString chineseLine(int id)
{
    QString line;
    for (int i = 0, seed = id * 7919; i < 4 + id % 5; ++i, seed = seed * 1103515245 + 12345)
        line += pool.at(int((unsigned(seed) >> 16) % unsigned(pool.size())));
    return line + QStringLiteral(" %1").arg(id);
}

// From the last key typed to the matches drawn, the typing pause included,
// over runs that alternate between two spellings of the text; `expected`
// below 0 takes any count.
double findMs(MainWindow &window, const QString &text, const QString &otherCase, int expected)
{
    auto *bar = window.findChild<FindBar *>();
    auto *field = bar->findChild<QLineEdit *>(QStringLiteral("findField"));
    auto *view = window.findChild<QTableView *>(QStringLiteral("cardView"));
    bool found = false;
    // Connected after the window's own search, so it runs once that is done.
    const auto done = QObject::connect(bar, &FindBar::findRequested, [&found]() { found = true; });
    std::vector<double> runs;
    QElapsedTimer clock;
    for (int i = 0; i < 11; ++i) {
        field->clear();
        found = false;
        const QString typed = i % 2 ? otherCase : text;
        if (typed.front().unicode() < 0x80) {
            QTest::keyClicks(field, typed);
        } else {
            // Chinese arrives from the input method, not as keys.
            QInputMethodEvent typing;
            typing.setCommitString(typed);
            QCoreApplication::sendEvent(field, &typing);
        }
        clock.start();
        while (!found && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        view->viewport()->repaint();
        runs.push_back(clock.nsecsElapsed() / 1e6);
        if (!found || (expected >= 0 && view->model()->rowCount() != expected)) {
            std::fprintf(stderr, "\"%s\" found %d cards\n", qPrintable(text), view->model()->rowCount());
            runs = {-1};
            break;
        }
    }
    QObject::disconnect(done);
    return median(runs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestStore store;
    // One card holds a word, and a Chinese name, that no other holds.
    const auto value = [](int id, int n) {
        if (id == needleCard && n == 7)
            return QStringLiteral("Zebra horizon");
        if (n == linesPerCard - 1)
            return id == needleCard ? QString::fromUtf8("招商银行 储蓄卡") : chineseLine(id);
        return QStringLiteral("value %1 of card %2").arg(n).arg(id);
    };
    if (!buildBenchStore(cardCount, linesPerCard, value))
        return 1;
    MainWindow window;
    if (!showBenchWindow(window))
        return 1;
    // Opening the bar reads the texts into memory.
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(&window, "openFind");
    print("index_build_ms", clock.nsecsElapsed() / 1e6);
    const CardTextIndex &index = CardTextIndex::instance();
    print("index_text_mb", index.textBytes() / 1048576.0);
    print("index_pinyin_mb", index.pinyinBytes() / 1048576.0);

    const struct
    {
        const char *name;
        const char *text;
        const char *otherCase;
        int expected;
    } cases[] = {
        // A word of one line of one card, and a text every card's lines hold.
        {"find_ms", "zebra", "ZEBRA", 1},
        {"find_all_cards_ms", "Title 3", "title 3", cardCount},
        {"find_pinyin_ms", "zhaoshangyinhang", "ZhaoShangYinHang", 1},
        {"find_initials_ms", "zsyh", "ZSYH", 1},
        {"find_chinese_ms", "招商銀行", "招商银行", 1},
        {"find_one_character_ms", "x", "X", -1},
        {"find_two_characters_ms", "xi", "XI", -1},
    };
    for (const auto &run : cases) {
        const double ms = findMs(window, QString::fromUtf8(run.text), QString::fromUtf8(run.otherCase), run.expected);
        if (ms < 0)
            return 1;
        print(run.name, ms);
    }
    return 0;
}
