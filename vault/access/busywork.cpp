#include "access/busywork.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>

namespace BusyWork {

void run(QWidget *window, const std::function<void()> &work)
{
    const QPointer<QWidget> busy = window;
    const QPointer<QWidget> focused = window ? window->focusWidget() : nullptr;
    if (window)
        window->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QThread *worker = QThread::create(work);
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    // Keys and clicks meant for the disabled window are dropped, not kept for
    // later. A quit of the application ends this loop early; the work is
    // still waited for, since it uses what its caller holds.
    if (!worker->isFinished())
        loop.exec();
    worker->wait();
    delete worker;
    QGuiApplication::restoreOverrideCursor();
    if (busy) {
        busy->setEnabled(true);
        if (focused)
            focused->setFocus();
    }
}

} // namespace BusyWork
