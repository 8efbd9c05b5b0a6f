#ifndef STOREIMPORT_H
#define STOREIMPORT_H

#include <QList>
#include <QString>

class DataKey;

#include <functional>

// Another store attached read-only to the store's own connection, so that
// SQLite copies its rows without passing each value through the driver.
// Detached with the object, whatever the outcome.
class StoreImport
{
public:
    explicit StoreImport(const QString &fileName);
    ~StoreImport();

    StoreImport(const StoreImport &) = delete;
    StoreImport &operator=(const StoreImport &) = delete;

    bool isAttached() const { return attached; }

    // The attached store's texts open with `key` (an encrypted store's; empty
    // for a plain one) until the object goes. Each text is then copied in this
    // store's form: opened, and sealed with this store's key when it has one.
    // Stores that keep their texts alike (both plain, or one key) are copied
    // by SQLite alone.
    void setTextKey(DataKey key);
    QString error() const { return attachError; }

    // Each copies the next slice of its table from the attached store, the
    // rows whose ids follow `afterId` in id order, with the ids shifted, and
    // moves `afterId` to the last id copied. References of 0 or less name
    // no row and stay as they are; the others are shifted with the rows they
    // name. An id or reference that is no whole number, or that would not
    // fit in an int once shifted, makes the slice fail, and so does a sealed
    // text that does not open with the attached store's key. The number of rows
    // copied (0 at the end of the table), or -1 with the driver's text in
    // `error`.
    static int copyCategories(int categoryShift, qint64 &afterId, QString *error);
    static int copyCards(int cardShift, int categoryShift, qint64 &afterId, QString *error);
    static int copyLines(int contentShift, int cardShift, qint64 &afterId, QString *error);

    // The copy of one table, slice by slice, as above.
    using Slice = std::function<int(qint64 &afterId, QString *error)>;

    // Copies the tables in one transaction, each from its first row to its
    // last, telling `progress` the rows copied so far after each slice; all
    // `rowTotal` rows of them must come. All or nothing: on failure
    // everything is rolled back and `error` tells why.
    static bool copyAll(const QList<Slice> &tables, int rowTotal, const std::function<void(int copied)> &progress,
                        QString *error);

    // Rows per slice: a few hundredths of a second of copying each.
    static constexpr int sliceRows = 50000;

private:
    bool attached = false;
    QString attachError;
};

#endif
