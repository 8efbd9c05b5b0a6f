#ifndef UPDATELOCK_H
#define UPDATELOCK_H

#include <QLockFile>
#include <QString>

// One update at a time in a program directory: the updater holds this lock
// from its start until it starts the vault again, and a vault that starts
// meanwhile finds it held and ends. A lock left by a program that no longer
// runs is taken over.
class UpdateLock
{
public:
    explicit UpdateLock(const QString &programDir);

    // False when another running program holds it; waits up to waitMs first.
    bool claim(int waitMs);
    void release();

    // Waits up to waitMs until the program with this process id has claimed
    // the lock; false when it has not by then.
    bool waitForHolder(qint64 pid, int waitMs);

private:
    QLockFile lockFile;
};

#endif
