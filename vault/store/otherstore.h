#ifndef OTHERSTORE_H
#define OTHERSTORE_H

#include <QString>

#include <optional>

class DataKey;

// Another store file, opened read-only on a connection of its own for the
// checks an import makes before anything is copied. The connection is closed
// and removed with the object.
class OtherStore
{
public:
    OtherStore() = default;
    ~OtherStore();

    OtherStore(const OtherStore &) = delete;
    OtherStore &operator=(const OtherStore &) = delete;

    // False with the driver's text in `error`.
    bool open(const QString &fileName, QString *error);

    enum class Kind {
        Store,
        // No tables of categories, cards and lines: random bytes, an empty
        // file, another program's database.
        NoStore,
        // Views or triggers where a card store has its plain tables: reading
        // a view can run without end, and nothing of such a file is read.
        NotPlain,
        // SQLite's own check failed, or the file could not be read.
        Damaged,
        // Another program's lock keeps the file from being read.
        Locked,
    };

    // SQLite opens any file, even random bytes; only reading tells a store.
    // The five tables are looked for by name and type before anything else of
    // the file is read. `detail` holds SQLite's words where it has some.
    Kind check(QString *detail) const;

    // Every id a positive integer, every reference an integer, and every
    // shifted id or reference within int (references of 0 or less stay as
    // they are: they name no row); empty when the file could not be read.
    std::optional<bool> idsFit(int categoryShift, int cardShift, int contentShift) const;

    // The expected password: an empty one when the file has no settings row.
    QString password() const;

    enum class Password { Accepted, Refused, KeyDamaged };

    // Whether `typed` is the `expected` password (read before), compared
    // exactly. An encrypted store's password is the one that unwraps its data
    // key, which is then handed out in `key`; KeyDamaged tells an envelope
    // that cannot be read at all. It touches no store, so the slow unwrapping
    // may run on a worker thread.
    static Password checkPassword(const QString &expected, const QString &typed, DataKey *key);

    // Categories, cards and lines together.
    int rowTotal() const;

private:
    bool registered = false;
};

#endif
