#ifndef STOREKEY_H
#define STOREKEY_H

#include <QString>
#include <QVariant>

class DataKey;

// The data key of the open store while the vault is unlocked, and the one
// place where the texts the user types are sealed on their way into the
// store and opened on their way out. Without a key (a plain store) texts
// pass as they are.
namespace StoreKey {

// The vault is unlocked: texts are sealed with `key` from now on.
void install(DataKey key);
// Wipes the key (the store is closed).
void clear();
// Wipes the key of an unlocked encrypted store until install() is called
// again: the vault is locked. Meanwhile no table is read or written (see
// isLocked()), so nothing keeps a sealed text as if it were the typed one,
// and nothing typed is stored unsealed.
void lock();
bool isLocked();
bool isInstalled();
const DataKey &current();

// Category names, card names, line titles and line values: the columns
// whose texts an encrypted store seals. Ids, types and references stay plain.
bool isTextColumn(const QString &table, const QString &column);

// The text to store in the column: sealed when a key is installed.
QString seal(const QString &table, const QString &column, const QString &text);
// The same for a value read or about to be written: texts of the text
// columns are sealed, everything else (null included) passes.
QVariant sealValue(const QString &table, const QString &column, const QVariant &value);

// The text a stored value stands for. A value without the seal's prefix
// (written by another program, or by a plain store) is shown as it is; a
// sealed one that does not open with the key of this store and this column
// is `damagedText()`, with `damaged` set, and never its bytes.
QString open(const QString &table, const QString &column, const QVariant &stored, bool *damaged = nullptr);
QVariant openValue(const QString &table, const QString &column, const QVariant &stored);

// Shown in place of a text that cannot be opened.
QString damagedText();
// Why a read or write is refused while the vault is locked.
QString lockedText();

} // namespace StoreKey

#endif
