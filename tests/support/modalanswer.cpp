#include "modalanswer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QtTest>

namespace {

QList<ModalAnswer *> pending;
int idleTicks = 0;

void serve()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        idleTicks = 0;
        return;
    }
    // Give a box opened just before its answer is made a moment.
    if (pending.isEmpty() && ++idleTicks < 50)
        return;
    auto *box = qobject_cast<QMessageBox *>(modal);
    ModalAnswer *answer = pending.isEmpty() ? nullptr : pending.takeFirst();
    if (!answer || modal->windowTitle() != answer->title) {
        QTest::qFail(qPrintable("unexpected box " + modal->windowTitle() + ": " + (box ? box->text() : QString())
                                + (answer ? ", expected " + answer->title : QString())),
                     __FILE__, __LINE__);
        modal->close();
        return;
    }
    // The driver's words, when the box has them, follow as its detail.
    if (box)
        answer->text = box->detailedText().isEmpty() ? box->text() : box->text() + '\n' + box->detailedText();
    if (answer->act)
        answer->act(modal);
    if (box && box->isVisible()) {
        if (QAbstractButton *pressed = box->button(answer->button))
            pressed->click();
        else
            box->reject();
    }
}

// Watches from the start, so that no box can block a test that expects none.
void startWatching()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, serve);
    timer->start(10);
}
Q_COREAPP_STARTUP_FUNCTION(startWatching)

} // namespace

ModalAnswer::ModalAnswer(const QString &title, QMessageBox::StandardButton button, std::function<void(QWidget *)> act)
    : title(title)
    , button(button)
    , act(std::move(act))
{
    pending << this;
}

ModalAnswer::~ModalAnswer()
{
    if (pending.removeAll(this))
        QTest::qFail(qPrintable("no box " + title + " came"), __FILE__, __LINE__);
}

bool ModalAnswer::wait() const
{
    return QTest::qWaitFor([this] { return !pending.contains(this); }, 15000);
}

void typeInto(QTableView *view, int row, int column, const QString &text, bool enter)
{
    const QModelIndex cell = view->model()->index(row, column);
    view->setCurrentIndex(cell);
    if (!view->indexWidget(cell))
        view->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(cell));
    QVERIFY(editor);
    editor->selectAll();
    editor->insert(text);
    if (enter) {
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits an entered text from a queued call.
        QTRY_VERIFY(!view->indexWidget(cell));
    }
}

void trigger(QWidget *window, const QString &text)
{
    for (QAction *action : window->findChildren<QAction *>())
        if (action->text() == text)
            return action->trigger();
    QFAIL(qPrintable("no entry " + text));
}

QString categoryEntries(QWidget *window)
{
    QStringList entries;
    for (QAction *action : window->findChild<QMenuBar *>()->actions().value(0)->menu()->actions()) {
        if (action->isCheckable() && action->text() != QLatin1String("&All"))
            entries << action->data().toString() + QLatin1Char(':') + action->text();
    }
    return entries.join(QLatin1Char(','));
}

QString shownCards(QWidget *window, int column)
{
    const QAbstractItemModel *cards = window->findChild<QTableView *>(QStringLiteral("cardView"))->model();
    QStringList shown;
    for (int row = 0; row < cards->rowCount(); ++row)
        shown << cards->index(row, column).data().toString();
    return shown.join(QLatin1Char(','));
}
