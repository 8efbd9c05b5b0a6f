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
// The translation that a release delivers beside the programs.
QString translationName();

// The program directory followed by the native separator and the name.
QString pathInProgramDir(const QString &name);
// The same below another directory.
QString pathIn(const QString &dir, const QString &name);

// The folder (ending in "/") that publishes the version file, the programs
// and the translation; set by the build.
QUrl updateFolder();

// The program's version as users read it, "2.12".
QString versionText();

// How a built program names its version and key to nimbrel-sign, which
// finds this text in the file: the prefix, the version number, " key=", the
// key's hex digits (none without a key) and ";".
QByteArray releaseMarkerPrefix();

// The raw Ed25519 public key built in with NIMBREL_UPDATE_KEY; empty in a
// build without one.
QByteArray updateKey();

} // namespace ProgramFiles

#endif
