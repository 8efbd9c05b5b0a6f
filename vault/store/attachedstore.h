#ifndef ATTACHEDSTORE_H
#define ATTACHEDSTORE_H

#include "store/datakey.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ImportedRows;

// Another store attached read-only to the store's own connection as
// "imported", so that SQLite copies its rows without passing each value
// through the driver. Detached with the object, whatever the outcome.
class AttachedStore
{
public:
    AttachedStore();
    ~AttachedStore();

    AttachedStore(const AttachedStore &) = delete;
    AttachedStore &operator=(const AttachedStore &) = delete;

    // False with the driver's text in `error`.
    bool attach(const QString &fileName, QString *error);

    // The attached store's texts open with `key` (an encrypted store's; empty
    // for a plain one). Each text is then copied in this store's form:
    // opened, and sealed with this store's key when it has one. Stores that
    // keep their texts alike (both plain, or one key) are copied by SQLite
    // alone.
    void setTextKey(DataKey key);

    // Each copies the next slice of its table from the attached store, the
    // rows whose ids follow `afterId` in id order, with the ids shifted, and
    // moves `afterId` to the last id copied; `copied` is the number of rows
    // copied, 0 at the end of the table. References of 0 or less name no row
    // and stay as they are; the others are shifted with the rows they name.
    // An id or reference that is no whole number, or that would not fit in
    // an int once shifted, makes the slice fail, and so does a sealed text
    // that does not open with the attached store's key.
    bool insertCategoryRow(int categoryShift, qint64 *afterId, int *copied, QString *error);
    bool insertCardRow(int cardShift, int categoryShift, qint64 *afterId, int *copied, QString *error);
    bool insertContentRow(int contentShift, int cardShift, qint64 *afterId, int *copied, QString *error);

    // Copies the three tables slice by slice inside the caller's
    // transaction, telling `progress` the rows copied so far after each
    // slice; all `rowTotal` rows of them must come.
    bool copyImportedRows(int categoryShift, int cardShift, int contentShift, int rowTotal,
                          const std::function<void(int copied)> &progress, QString *error);

    // Whether the last copy failed on a sealed text that did not open: the
    // attached file is damaged, not merely refused.
    bool foundDamage() const { return damageFound; }

    // Rows per slice: a few hundredths of a second of copying each.
    static constexpr int sliceRows = 50000;

private:
    using Slice = std::function<bool(qint64 *afterId, int *copied, QString *error)>;
    bool copySlice(const QString &table, const QStringList &columns, const QStringList &names,
                   const QList<qint64> &values, int idShift, qint64 *afterId, int *copied, QString *error);
    bool recodeSlice(const QString &table, const QStringList &columns, const QStringList &names,
                     const QList<qint64> &values, qint64 *afterId, int *copied, QString *error);

    // The file attached as "imported", empty until it is.
    QString attachedFile;
    DataKey textKey;
    // The rows being recoded, read ahead from one slice into the next so
    // that the reading never waits for a slice to begin: those of
    // `recodedTable` that follow `recodedAfterId`.
    std::unique_ptr<ImportedRows> recoded;
    QString recodedTable;
    qint64 recodedAfterId = 0;
    bool damageFound = false;
};

#endif
