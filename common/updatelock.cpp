#include "updatelock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

UpdateLock::UpdateLock(const QString &programDir)
    : lockFile(QDir(programDir).filePath(QStringLiteral("NimbrelUp.lock")))
{
    // An update may wait long on a slow network: only a program that no
    // longer runs leaves a stale lock.
    lockFile.setStaleLockTime(0);
}

bool UpdateLock::claim(int waitMs)
{
    return lockFile.tryLock(waitMs) || lockFile.error() != QLockFile::LockFailedError;
}

void UpdateLock::release()
{
    lockFile.unlock();
}

bool UpdateLock::waitForHolder(qint64 pid, int waitMs)
{
    QElapsedTimer waited;
    waited.start();
    do {
        qint64 holder = 0;
        QString host;
        QString application;
        if (lockFile.getLockInfo(&holder, &host, &application) && holder == pid)
            return true;
        QThread::msleep(20);
    } while (waited.elapsed() < waitMs);
    return false;
}
