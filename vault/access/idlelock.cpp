#include "access/idlelock.h"

#include <QCoreApplication>
#include <QEvent>

int IdleLock::msPerMinute = 60000;

IdleLock::IdleLock(QObject *parent)
    : QObject(parent)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &IdleLock::idle);
    QCoreApplication::instance()->installEventFilter(this);
    restart();
}

const QList<int> &IdleLock::choices()
{
    static const QList<int> minutes = {1, 5, 15, 60, 0};
    return minutes;
}

void IdleLock::setMinutes(int minutes)
{
    chosenMinutes = minutes;
    restart();
}

void IdleLock::restart()
{
    if (chosenMinutes > 0)
        timer.start(chosenMinutes * msPerMinute);
    else
        timer.stop();
}

bool IdleLock::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        if (timer.isActive())
            timer.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
