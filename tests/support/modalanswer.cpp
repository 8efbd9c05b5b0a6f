#include "modalanswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

void onNextModal(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < 10000)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (modal)
            answer(modal);
    });
    timer->start();
}

std::shared_ptr<SeenBox> answerNextBox(QMessageBox::StandardButton button)
{
    auto seen = std::make_shared<SeenBox>();
    onNextModal([seen, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        seen->seen = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        if (QAbstractButton *pressed = box->button(button))
            pressed->click();
        else
            box->reject();
    });
    return seen;
}
