#ifndef PROGRAMFILES_H
#define PROGRAMFILES_H

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

} // namespace ProgramFiles

#endif
