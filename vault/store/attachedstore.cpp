#include "store/attachedstore.h"

#include "store/cardtextindex.h"
#include "store/importedrows.h"
#include "store/sealedtext.h"
#include "store/storekey.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <climits>

namespace {

// Rows one INSERT statement writes.
constexpr int statementRows = 200;

// A URI keeps the attached file read-only; "?", "#" and "%" in the path
// would otherwise end or escape it.
QString readOnlyUri(const QString &fileName)
{
    QString path = QFileInfo(fileName).absoluteFilePath();
    path.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('?'), QLatin1String("%3f"))
        .replace(QLatin1Char('#'), QLatin1String("%23"));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return QLatin1String("file://") + path + QLatin1String("?mode=ro");
}

// The id of a copied row, shifted. Anything but a whole number from 1 up to
// what still fits beside the shift becomes a text that the INTEGER PRIMARY
// KEY refuses, so that nothing of the import stays.
const char *const shiftedId = "case when typeof(id) = 'integer' and id between 1 and ? then id + ? else 'no id' end";

// A reference, shifted as the row it names is; 0 or less names no row and
// stays. Anything but a whole number that fits becomes NULL, which the
// column's NOT NULL refuses.
QString shiftedReference(const char *column)
{
    return QStringLiteral("case when typeof(%1) = 'integer' and %1 between %2 and ? "
                          "then %1 + case when %1 > 0 then ? else 0 end end")
        .arg(QLatin1String(column))
        .arg(INT_MIN);
}

// The values that go with shiftedId or shiftedReference.
QList<qint64> shiftValues(int shift)
{
    return {qint64(INT_MAX) - shift, shift};
}

bool failed(const QSqlQuery &query, QString *error)
{
    if (error)
        *error = query.lastError().text();
    return false;
}

} // namespace

AttachedStore::AttachedStore() = default;

AttachedStore::~AttachedStore()
{
    recoded.reset();
    if (!attachedFile.isEmpty())
        QSqlQuery().exec(QStringLiteral("DETACH DATABASE imported"));
}

bool AttachedStore::attach(const QString &fileName, QString *error)
{
    // The copy is a bulk write: find reads the store afresh after it, and
    // following it row by row would only slow it down.
    CardTextIndex::instance().forget();
    QSqlQuery query;
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS imported"));
    query.addBindValue(readOnlyUri(fileName));
    if (!query.exec())
        return failed(query, error);
    attachedFile = fileName;
    return true;
}

void AttachedStore::setTextKey(DataKey key)
{
    textKey = std::move(key);
}

bool AttachedStore::copySlice(const QString &table, const QStringList &columns, const QStringList &names,
                              const QList<qint64> &values, int idShift, qint64 *afterId, int *copied, QString *error)
{
    if (!(textKey == StoreKey::current()))
        return recodeSlice(table, columns, names, values, afterId, copied, error);
    QSqlQuery query;
    query.prepare(QStringLiteral("insert into %1 select %2 from imported.%1 where id > ? order by id limit ?")
                      .arg(table, columns.join(QLatin1String(", "))));
    for (qint64 value : values)
        query.addBindValue(value);
    query.addBindValue(*afterId);
    query.addBindValue(sliceRows);
    if (!query.exec())
        return failed(query, error);
    *copied = query.numRowsAffected();
    if (*copied > 0) {
        // The ids copied, shifted, are now the largest of the table.
        if (!query.exec(QStringLiteral("select max(id) from ") + table) || !query.next())
            return failed(query, error);
        *afterId = query.value(0).toLongLong() - idShift;
    }
    return true;
}

// The same, with each text in this store's form; `names` holds the column
// name of each text column, an empty text for the others. The rows are read
// and recoded on a second thread while this one writes the rows read before.
bool AttachedStore::recodeSlice(const QString &table, const QStringList &columns, const QStringList &names,
                                const QList<qint64> &values, qint64 *afterId, int *copied, QString *error)
{
    QSqlQuery encoding;
    // In SQLite's usual encoding the texts pass as the UTF-8 bytes it keeps:
    // no conversion to UTF-16 and back for each of them. The attached store
    // has the same encoding, or it would not have been attached.
    if (!encoding.exec(QStringLiteral("PRAGMA encoding")) || !encoding.next())
        return failed(encoding, error);
    const bool utf8 = encoding.value(0).toString() == QLatin1String("UTF-8");
    QStringList selected;
    QStringList marks;
    QList<QByteArray> columnData;
    for (int i = 0; i < columns.size(); ++i) {
        const bool text = !names.at(i).isEmpty();
        selected << (text && utf8 ? QStringLiteral("CAST(%1 AS BLOB)").arg(columns.at(i)) : columns.at(i));
        marks << (text && utf8 ? QStringLiteral("CAST(? AS TEXT)") : QStringLiteral("?"));
        columnData << (text ? SealedText::columnData(table, names.at(i)) : QByteArray());
    }
    if (!recoded || recodedTable != table || recodedAfterId != *afterId) {
        recoded = std::make_unique<ImportedRows>(attachedFile,
                                                 QStringLiteral("select id, %1 from %2 where id > ? order by id")
                                                     .arg(selected.join(QLatin1String(", ")), table),
                                                 values + QList<qint64> {*afterId}, columnData, utf8, textKey,
                                                 StoreKey::isInstalled() ? &StoreKey::current() : nullptr);
        recodedTable = table;
    }

    const QString row = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    const auto insert = [&](int count) {
        QStringList rowMarks;
        rowMarks.fill(row, count);
        return QStringLiteral("insert into %1 values %2").arg(table, rowMarks.join(QLatin1Char(',')));
    };
    QSqlQuery write;
    write.prepare(insert(statementRows));
    // Only the last rows of a slice are fewer than a statement's.
    QSqlQuery lastWrite;
    const int width = int(columns.size());
    *copied = 0;
    ImportedRows::Chunk chunk;
    while (*copied < sliceRows) {
        const ImportedRows::Next next = recoded->next(&chunk, error);
        if (next != ImportedRows::Next::Chunk)
            recoded.reset();
        switch (next) {
        case ImportedRows::Next::Chunk:
            break;
        case ImportedRows::Next::End:
            return true;
        case ImportedRows::Next::Failed:
            return false;
        case ImportedRows::Next::Damaged:
            damageFound = true;
            if (error)
                *error = QCoreApplication::translate("StoreImport", "a text of its %1 table is damaged").arg(table);
            return false;
        }
        for (int begin = 0; begin < chunk.rows; begin += statementRows) {
            const int count = qMin(statementRows, chunk.rows - begin);
            QSqlQuery &statement = count == statementRows ? write : lastWrite;
            if (count < statementRows)
                lastWrite.prepare(insert(count));
            for (int cell = begin * width; cell < (begin + count) * width; ++cell) {
                const QVariant &value = chunk.cells[size_t(cell)];
                if (utf8 || columnData.at(cell % width).isEmpty() || value.isNull())
                    statement.addBindValue(value);
                else
                    statement.addBindValue(QString::fromUtf8(value.toByteArray()));
            }
            if (!statement.exec())
                return failed(statement, error);
        }
        *afterId = chunk.lastId;
        recodedAfterId = chunk.lastId;
        *copied += chunk.rows;
    }
    return true;
}

bool AttachedStore::insertCategoryRow(int categoryShift, qint64 *afterId, int *copied, QString *error)
{
    return copySlice(QStringLiteral("category"), {QLatin1String(shiftedId), QStringLiteral("name")},
                     {QString(), QStringLiteral("name")}, shiftValues(categoryShift), categoryShift, afterId, copied,
                     error);
}

bool AttachedStore::insertCardRow(int cardShift, int categoryShift, qint64 *afterId, int *copied, QString *error)
{
    return copySlice(
        QStringLiteral("card"),
        {QLatin1String(shiftedId), QStringLiteral("type"), QStringLiteral("name"), shiftedReference("categoryid")},
        {QString(), QString(), QStringLiteral("name"), QString()}, shiftValues(cardShift) + shiftValues(categoryShift),
        cardShift, afterId, copied, error);
}

bool AttachedStore::insertContentRow(int contentShift, int cardShift, qint64 *afterId, int *copied, QString *error)
{
    return copySlice(
        QStringLiteral("content"),
        {QLatin1String(shiftedId), QStringLiteral("title"), QStringLiteral("value"), shiftedReference("cardid")},
        {QString(), QStringLiteral("title"), QStringLiteral("value"), QString()},
        shiftValues(contentShift) + shiftValues(cardShift), contentShift, afterId, copied, error);
}

bool AttachedStore::copyImportedRows(int categoryShift, int cardShift, int contentShift, int rowTotal,
                                     const std::function<void(int)> &progress, QString *error)
{
    const QList<Slice> tables = {
        [&](qint64 *afterId, int *copied, QString *sliceError) {
            return insertCategoryRow(categoryShift, afterId, copied, sliceError);
        },
        [&](qint64 *afterId, int *copied, QString *sliceError) {
            return insertCardRow(cardShift, categoryShift, afterId, copied, sliceError);
        },
        [&](qint64 *afterId, int *copied, QString *sliceError) {
            return insertContentRow(contentShift, cardShift, afterId, copied, sliceError);
        },
    };
    int total = 0;
    for (const Slice &slice : tables) {
        // Imported ids are positive.
        qint64 afterId = 0;
        int copied = 0;
        do {
            if (!slice(&afterId, &copied, error))
                return false;
            total += copied;
            if (copied > 0)
                progress(total);
        } while (copied > 0);
    }
    // A row without an id is passed over by the slices.
    if (total != rowTotal) {
        if (error)
            *error = QCoreApplication::translate("StoreImport", "%1 of its %2 rows could be copied")
                         .arg(total)
                         .arg(rowTotal);
        return false;
    }
    return true;
}
