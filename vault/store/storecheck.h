#ifndef STORECHECK_H
#define STORECHECK_H

#include <QString>
#include <QStringList>

// What a start finds wrong with the store, found by reading alone, before
// anything is written into it.
struct StoreCheck
{
    enum class Verdict {
        // Sound, or new: what is missing may be created.
        Sound,
        // The file was there but empty: nothing of a vault is left in it.
        EmptyFile,
        // SQLite's own check found damaged pages.
        Damaged,
        // Tables are missing while others hold rows.
        Incomplete,
        // Another program held the store the whole wait, so it could not be
        // checked: it may be sound or damaged.
        Unchecked,
    };

    Verdict verdict = Verdict::Sound;
    // SQLite's words about the damage or the lock, or the missing tables.
    QString detail;

    // Checks the open store; `wasEmpty` tells that the file existed with no
    // bytes before it was opened.
    static StoreCheck run(bool wasEmpty);

    // Whether a file holds no store's table yet because it does not exist or
    // has no bytes.
    static bool isEmptyFile(const QString &path);
};

#endif
