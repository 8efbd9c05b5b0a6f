#include "store/storelock.h"

#include "store/privatefile.h"

#include <QCoreApplication>

namespace {

// Long enough for a copy that was just closed to finish ending.
constexpr int endingCopyWaitMs = 1000;

QString lockPath(const QString &storeDir)
{
    const QString dir = storeDir.isEmpty() ? QCoreApplication::applicationDirPath() : storeDir;
    return dir + QStringLiteral("/nimbrel.dat.lock");
}

} // namespace

StoreLock::StoreLock(const QString &storeDir)
    : lockFile(lockPath(storeDir))
{
    // A copy may run for days: only a copy that no longer runs leaves a stale lock.
    lockFile.setStaleLockTime(0);
}

bool StoreLock::claim()
{
    const PrivateFile::OwnerOnly ownerOnly;
    return lockFile.tryLock(endingCopyWaitMs) || lockFile.error() != QLockFile::LockFailedError;
}

void StoreLock::release()
{
    lockFile.unlock();
}
