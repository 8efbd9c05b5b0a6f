#ifndef UPDATESETUP_H
#define UPDATESETUP_H

#include "programfiles.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// Where the version check and the updater fetch from and install to, the key
// that proves a release genuine, and how long a silent or slow transfer is
// waited for. The defaults are the program's own; tests bring theirs.
struct UpdateSetup
{
    // How long a silent server, and the whole of a description, is waited for.
    static constexpr int halfMinuteMs = 30000;

    // The folder that holds the files, ending in "/".
    QUrl server = ProgramFiles::updateFolder();
    // Empty: the program's own directory.
    QString programDir;
    // The raw 32-byte Ed25519 public key; empty: no update is ever requested.
    QByteArray publicKey = ProgramFiles::updateKey();
    int stallTimeoutMs = halfMinuteMs;
    // The longest a whole transfer may take: the description and its
    // signature, and each file of the release.
    int descriptionDeadlineMs = halfMinuteMs;
    int fileDeadlineMs = 600000;

    // The program directory in use: programDir, or else the running program's.
    QString directory() const;
    // The file of that name in the update folder.
    QUrl fileUrl(const QString &name) const;
};

#endif
