#ifndef PROGRAMFILES_H
#define PROGRAMFILES_H

#include <QByteArray>
#include <QString>
#include <QUrl>

// Names of the two programs as installed in the program directory:
// "Nimbrel.exe" and "NimbrelUp.exe" on Windows, without the suffix elsewhere.
namespace ProgramFiles {

QString vaultName();
QString updaterName();

// The program directory followed by the native separator and the name.
QString pathInProgramDir(const QString &name);
// The same below another directory.
QString pathIn(const QString &dir, const QString &name);

// The server that publishes the version file, the programs and the
// translation under "/update/".
QUrl updateServer();

// The raw Ed25519 public key built in with NIMBREL_UPDATE_KEY; empty in a
// build without one.
QByteArray updateKey();

} // namespace ProgramFiles

#endif
