#ifndef PROGRAMFILES_H
#define PROGRAMFILES_H

#include <QByteArray>
#include <QString>
#include <QUrl>

// The names of the files in the program directory and in the update folder,
// and the program's version: the two programs as installed ("Nimbrel.exe"
// and "NimbrelUp.exe" on Windows, without the suffix elsewhere), their
// translation and the published description of a release with its signature.
namespace ProgramFiles {

QString vaultName();
QString updaterName();
// The program translation of a language, "nimbrel_zh_CN.qm"; without one,
// the translation that a release delivers beside the programs.
QString translationName(const QString &language = QStringLiteral("zh_CN"));
// "Nimbrel.txt": the version, then the hash and size of each file.
QString descriptionName();
// "Nimbrel.txt.sig", beside the description.
QString signatureName();

// The directory followed by the native separator and the name.
QString pathIn(const QString &dir, const QString &name);

// The folder (ending in "/") that publishes the description, the programs
// and the translation; set by the build.
QUrl updateFolder();

// The program's version as users read it, "2.12".
QString versionText();
// The same without its point, as the description states it: 212.
int versionNumber();

// How a built program names its version and key to nimbrel-sign, which
// finds this text in the file: the prefix, the version number, " key=", the
// key's hex digits (none without a key) and ";".
QByteArray releaseMarkerPrefix();

// The raw Ed25519 public key built in with NIMBREL_UPDATE_KEY; empty in a
// build without one.
QByteArray updateKey();

} // namespace ProgramFiles

#endif
