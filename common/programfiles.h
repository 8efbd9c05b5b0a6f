#ifndef PROGRAMFILES_H
#define PROGRAMFILES_H

#include <QString>

// Names of the two programs as installed in the program directory:
// "Nimbrel.exe" and "NimbrelUp.exe" on Windows, without the suffix elsewhere.
namespace ProgramFiles {

QString vaultName();
QString updaterName();

// The program directory followed by the native separator and the name.
QString pathInProgramDir(const QString &name);

} // namespace ProgramFiles

#endif
