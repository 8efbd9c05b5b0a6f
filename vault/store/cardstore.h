#ifndef CARDSTORE_H
#define CARDSTORE_H

#include <QString>
#include <QStringList>

// The card store: one SQLite file, "nimbrel.dat", opened once as the
// default connection.

// Opens the store in storeDir (the program directory when empty). A file that
// cannot be opened or read as a database is left untouched; the function then
// returns false with the driver's text in `error`.
bool openStore(const QString &storeDir, QString *error);

// Creates what is missing of the five tables and seeds it; changes nothing
// that is stored already.
void createTables();

// Rewrites the 18 card type names in the language now in effect.
void updateCardTypeNames();

// The full path of the open store's file.
QString storeFilePath();

// Closes and unregisters the default connection (tests reopen stores).
void closeStore();

// The card type names in id order (id = position + 1), untranslated; their
// translations live in the context "QObject".
const QStringList &cardTypeSourceNames();
QString translatedCardTypeName(int typeId);

#endif
