#ifndef STORELOCK_H
#define STORELOCK_H

#include <QLockFile>
#include <QString>

// One running copy of the program per store: a lock file beside the store,
// held while the object lives or until release(). A lock left behind by a
// copy that ended without removing it is taken over.
class StoreLock
{
public:
    // The lock of the store in storeDir (the program directory when empty).
    explicit StoreLock(const QString &storeDir);

    // False when another running copy holds the store. It waits a moment
    // first, for a copy that is just ending. A lock file that cannot be
    // written at all does not keep the program from its store.
    bool claim();

    // Lets a copy started now take the store, as the updater's restart does.
    void release();

private:
    QLockFile lockFile;
};

#endif
