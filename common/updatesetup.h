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
    // The folder that holds the files, ending in "/".
    QUrl server = ProgramFiles::updateFolder();
    // Empty: the program's own directory.
    QString programDir;
    // The raw 32-byte Ed25519 public key; empty: no update is ever requested.
    QByteArray publicKey = ProgramFiles::updateKey();
    int stallTimeoutMs = 30000;
    // The longest a whole transfer may take: the description and its
    // signature, and each file of the release.
    int descriptionDeadlineMs = 30000;
    int fileDeadlineMs = 600000;
};

#endif
