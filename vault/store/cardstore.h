#ifndef CARDSTORE_H
#define CARDSTORE_H

#include <QString>

// The card store: one SQLite file, "nimbrel.dat", opened once as the
// default connection.

class QSqlError;

// Opens the store in storeDir (the program directory when empty). A file that
// cannot be opened or read as a database is left untouched; the function then
// returns false with the driver's text in `error`, and `inUse` tells whether
// another program's lock kept it from being read.
bool openStore(const QString &storeDir, QString *error, bool *inUse = nullptr);

// Creates what is missing of the five tables and seeds it. It reads first and
// writes nothing on a complete store, so a store that another program holds
// for writing still starts. False when something missing could not be written.
bool createTables();

// Rewrites the 18 card type names in the language now in effect; all or
// nothing, false when the store refused.
bool updateCardTypeNames();

// How long a statement waits for another program's lock before it fails,
// on the store and on a store being imported. Everything runs on the GUI
// thread, so the wait is short: a user action waits once and is answered
// within 2 s. A value set here applies to stores opened afterwards (tests
// shorten it).
int busyTimeoutMs();
void setBusyTimeoutMs(int ms);

// Whether the store refused because another connection holds a lock.
bool isLockError(const QSqlError &error);
// What the user is told when it did: nothing is lost, the wait is short.
QString storeInUseText();

// Called with the error of a statement on the store: when it was another
// program's lock, the statements that follow fail at once instead of each
// waiting again, until the event loop runs again. So a user action waits for
// the store once, and is answered within about busyTimeoutMs().
void waitNoLongerThisAction(const QSqlError &error);

// The full path of the open store's file.
QString storeFilePath();
// The path of the store file in storeDir (the program directory when empty).
QString storeFilePathIn(const QString &storeDir);

// Refuses every later write on the open store, as for a damaged file that
// is only to be read.
void setStoreReadOnly();
// Whether it does: a store opened only to be read.
bool isStoreReadOnly();

// Closes and unregisters the default connection (tests reopen stores).
void closeStore();

#endif
