#ifndef OTHERSTORE_H
#define OTHERSTORE_H

#include <QString>

class DataKey;

// Another store file, opened read-only on a connection of its own for the
// checks an import makes before anything is copied. The connection is closed
// and removed with the object.
class OtherStore
{
public:
    explicit OtherStore(const QString &fileName);
    ~OtherStore();

    OtherStore(const OtherStore &) = delete;
    OtherStore &operator=(const OtherStore &) = delete;

    bool isOpen() const { return opened; }
    QString error() const { return openError; }

    // SQLite opens any file, even random bytes; only a query tells a store.
    // False too when another program's lock keeps the file from being read:
    // `lockError` then holds the driver's text.
    bool holdsStore(QString *lockError) const;

    // Every id a positive integer, every reference an integer, and every
    // shifted id or reference within int (references of 0 or less stay as
    // they are: they name no row).
    bool idsFit(int categoryShift, int cardShift, int contentShift) const;

    // The expected password: an empty one when the file has no settings row.
    QString password() const;

    // Whether `typed` is its password. An encrypted store's password is the
    // one that unwraps its data key, which is then handed out in `key`;
    // `damaged` tells an envelope that cannot be read at all.
    bool acceptsPassword(const QString &typed, DataKey *key, bool *damaged) const;

    // Categories, cards and lines together.
    int rowTotal() const;

private:
    bool opened = false;
    QString openError;
};

#endif
