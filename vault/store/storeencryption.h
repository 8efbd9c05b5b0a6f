#ifndef STOREENCRYPTION_H
#define STOREENCRYPTION_H

#include "store/datakey.h"

#include <QString>

#include <functional>

// The password of the open store, plain or encrypted. A plain store keeps
// the password itself in the settings row; an encrypted one keeps its data
// key there, wrapped under the password, so a password is right when it
// unwraps the key and nothing plain is ever compared.
namespace StoreEncryption {

enum class Check { Matches, Differs, Unreadable };

// Whether the settings row holds a key envelope; false when it cannot be read.
bool isEncrypted();

// A password check in three steps. Deriving the key of an encrypted store
// takes most of a second, so the middle step may run on a worker thread; the
// first and the last use the store and belong to the thread that opened it.
struct KeyCheck
{
    Check result = Check::Unreadable;
    // Why the password cannot be checked (the driver's text, or a damaged envelope).
    QString error;
    // Unreadable because another program holds the store: nothing is wrong with it.
    bool heldElsewhere = false;
    QString stored;
    DataKey key;
};

// Reads what the password is checked against; Unreadable when it cannot be read.
KeyCheck readStored();
// Compares `typed` with what was read, unwrapping the data key of an
// encrypted store. Touches no store: any thread.
void compare(KeyCheck &check, const QString &typed);
// With `unlock`, a matching password of an encrypted store installs its data
// key (the vault is open) and keeps SQLite overwriting deleted content from
// then on. Returns the result.
Check finish(KeyCheck &check, bool unlock);

// The three steps in one go. Unreadable: the settings row could not be read,
// or its envelope is damaged; `error` says which.
Check check(const QString &typed, bool unlock, QString *error);

// The text that stands for `password` in the settings row: itself in a plain
// store, the data key wrapped under it in an encrypted one (so that must be
// unlocked). Empty, with `error` set, when it cannot be made. Touches no
// store (the key was installed before): any thread.
QString storedForm(const QString &password, bool encrypted, QString *error);
// Stores what storedForm() made, in one write; the texts stay as they are.
bool storePassword(const QString &stored, QString *error);
// Both in one go.
bool setPassword(const QString &password, QString *error);

// A new data key and its envelope under a password, for encrypt(). Made
// with Argon2id: any thread.
struct NewKey
{
    DataKey key;
    QString envelope;
};
NewKey newKey(const QString &password);

// Encrypts the unlocked plain store under `password` (or the key made for
// it by newKey()): a new data key seals
// every category name, card name, line title and value and is stored
// wrapped in the settings row, all in one transaction; `progress` hears
// (rows done, rows in all) as it goes. Afterwards the file is rewritten
// without the free pages that still held the plain texts; `compacted` tells
// whether that worked (the store is encrypted either way). On failure
// nothing has changed and `error` says why.
bool encrypt(NewKey key, const std::function<void(int done, int total)> &progress, bool *compacted, QString *error);
bool encrypt(const QString &password, const std::function<void(int done, int total)> &progress, bool *compacted,
             QString *error);

} // namespace StoreEncryption

#endif
