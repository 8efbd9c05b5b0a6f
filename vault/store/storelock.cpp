#include "store/storelock.h"

#include "store/privatefile.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    : filePath(lockPath(storeDir))
    , lockFile(filePath)
{
    // A copy may run for days: only a copy that no longer runs leaves a stale lock.
    lockFile.setStaleLockTime(0);
}

StoreLock::Claim StoreLock::claim()
{
    const PrivateFile::OwnerOnly ownerOnly;
    if (lockFile.tryLock(endingCopyWaitMs) || lockFile.error() != QLockFile::LockFailedError)
        return Claim::Taken;
    // A stale lock is removed before it is taken over, which needs the folder.
    return QFileInfo(QFileInfo(filePath).absolutePath()).isWritable() ? Claim::HeldElsewhere : Claim::FolderNotWritable;
}

void StoreLock::release()
{
    lockFile.unlock();
}
