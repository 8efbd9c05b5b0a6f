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

    enum class Claim {
        Taken,
        // Another running copy holds the store.
        HeldElsewhere,
        // A lock file is there and its folder cannot be written, so it cannot
        // be taken over even when the copy that left it has ended.
        FolderNotWritable,
    };

    // Waits a moment first, for a copy that is just ending. A lock file that
    // cannot be written at all does not keep the program from its store.
    Claim claim();

    // The lock file's path, as the user may look for it.
    QString path() const { return filePath; }

    // Lets a copy started now take the store, as the updater's restart does.
    void release();

private:
    QString filePath;
    QLockFile lockFile;
};

#endif
