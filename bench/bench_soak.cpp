// Long use: 2,000 cycles of adding a card, opening it, typing a line,
// closing the editor and deleting the card; the memory the process holds
// (resident set) at the start and at the end.
#include "benchsupport.h"
#include "teststore.h"

#include "cardeditor/cardform.h"
#include "mainwindow/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>

#include <unistd.h>

namespace {

constexpr int cycles = 2000;
constexpr int warmUpCycles = 20;

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

// Answers the deletion question with Yes once it is up.
void answerYes()
{
    QTimer::singleShot(0, []() {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
        else
            answerYes();
    });
}

bool cycle(MainWindow &window, QTableView *cards)
{
    QMetaObject::invokeMethod(&window, "addCard");
    const QModelIndex added = cards->currentIndex();
    if (!added.isValid())
        return false;
    QMetaObject::invokeMethod(&window, "openCard");
    auto *form = window.findChild<CardForm *>();
    auto *lines = form->findChild<QTableView *>(QStringLiteral("contentView"));
    if (!form->isVisible() || lines->model()->rowCount() == 0)
        return false;
    lines->model()->setData(lines->model()->index(0, 2), QStringLiteral("typed value"));
    if (!form->close())
        return false;
    cards->setCurrentIndex(added);
    answerYes();
    QMetaObject::invokeMethod(&window, "deleteCard");
    return cards->model()->rowCount() == 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestStore store(
        QStringLiteral("insert into category values(1, 'Home'); insert into card values(1, 13, 'kept', 1)"));
    MainWindow window;
    if (!showBenchWindow(window))
        return 1;
    auto *cards = window.findChild<QTableView *>(QStringLiteral("cardView"));
    double start = 0;
    for (int i = 0; i < cycles; ++i) {
        // Caches that fill once (fonts, icons, the editor) are not growth.
        if (i == warmUpCycles)
            start = residentMb();
        if (!cycle(window, cards)) {
            std::fprintf(stderr, "cycle %d did not add, open, write and delete its card\n", i);
            return 1;
        }
    }
    const double end = residentMb();
    print("rss_start_mb", start);
    print("rss_end_mb", end);
    print("rss_growth_mb", end - start);
    print("lines_left", store.count(QStringLiteral("content")));
    return 0;
}
