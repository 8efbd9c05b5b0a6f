#ifndef UPDATESETUP_H
#define UPDATESETUP_H

#include "programfiles.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// Where the version check and the updater fetch from and install to, the key
// that proves a release genuine, and how long a silent transfer is waited
// for. The defaults are the program's own; tests bring theirs.
struct UpdateSetup
{
    QUrl server = ProgramFiles::updateServer();
    // Empty: the program's own directory.
    QString programDir;
    // The raw 32-byte Ed25519 public key; empty: no update is ever requested.
    QByteArray publicKey = ProgramFiles::updateKey();
    int stallTimeoutMs = 30000;
};

#endif
