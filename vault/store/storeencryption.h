#ifndef STOREENCRYPTION_H
#define STOREENCRYPTION_H

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

// The typed password against the store's. With `unlock`, a matching password
// of an encrypted store installs its data key (the vault is open) and keeps
// SQLite overwriting deleted content from then on. Unreadable: the settings
// row could not be read, or its envelope is damaged; `error` says which.
Check check(const QString &typed, bool unlock, QString *error);

// Stores a new password in one write. An encrypted store wraps its data key
// again under it (its texts stay as they are), so the store must be unlocked.
bool setPassword(const QString &password, QString *error);

// Encrypts the unlocked plain store under `password`: a new data key seals
// every category name, card name, line title and value and is stored
// wrapped in the settings row, all in one transaction; `progress` hears
// (rows done, rows in all) as it goes. Afterwards the file is rewritten
// without the free pages that still held the plain texts; `compacted` tells
// whether that worked (the store is encrypted either way). On failure
// nothing has changed and `error` says why.
bool encrypt(const QString &password, const std::function<void(int done, int total)> &progress, bool *compacted,
             QString *error);

} // namespace StoreEncryption

#endif
