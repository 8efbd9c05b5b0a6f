#include "modalanswer.h"

#include <QAbstractButton>
#include <QApplication>
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

// At the start of every test program: boxes are watched from then on, so
// that no box can block a test that expects none; and what Qt keeps for
// itself (a file dialog's history) goes where tests keep theirs, never into
// the user's settings.
void startTestSupport()
{
    QStandardPaths::setTestModeEnabled(true);
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, serve);
    timer->start(10);
}
Q_COREAPP_STARTUP_FUNCTION(startTestSupport)

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
