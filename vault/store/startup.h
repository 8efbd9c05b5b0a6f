#ifndef STARTUP_H
#define STARTUP_H

#include <QString>

#include <functional>

class QDialog;
class QTranslator;

// The start-up sequence, in pieces that the tests drive one by one.

// Opens the store in storeDir (the program directory when empty), checks it,
// completes its tables and checks that the settings row can be read. A
// damaged store, one that lacks tables while others hold cards, and an empty
// file are not written: the user is asked whether to go on (read-only, or with
// a new vault in the empty file); `beforeQuestions` runs first (it loads the
// translation). On failure, or when the user chose to quit, a box has been
// shown and the program must end with code 1.
bool prepareStore(const QString &storeDir = QString(), const std::function<void()> &beforeQuestions = {});

// Loads the translation of the stored language (or of systemLocale when
// none was chosen) from translationDir into translator, installs it, and
// rewrites the card type names when the language differs from the last
// start's. Returns the code whose translation was requested. When the
// translation is found and qtTranslator is given, Qt's own texts of the same
// language are loaded into it and installed too.
QString applyLanguage(QTranslator &translator, const QString &translationDir, const QString &systemLocale,
                      QTranslator *qtTranslator = nullptr);

// Shows the password gate: the first-run set-password dialog while no
// password is set, the login dialog otherwise.
QDialog *raiseGate();

// The start once the application object exists, up to the end of its event
// loop: refuses a second copy on the store (exit code 0) and a store that
// cannot be opened or read (1); the loop's code otherwise.
int runVault(const QString &storeDir = QString());

// The whole start of the vault program: main's body.
int vaultMain(int argc, char *argv[]);

#endif
