#ifndef IMPORTEDROWS_H
#define IMPORTEDROWS_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class DataKey;

// Rows of another store file with their texts in this store's form, read
// and recoded on a thread and a connection of their own while the caller
// writes the rows read before: texts sealed in that store are opened with
// its key, and sealed with this store's key when it has one.
class ImportedRows
{
public:
    // Rows as read, the cells of a row one after the other.
    struct Chunk
    {
        std::vector<QVariant> cells;
        int rows = 0;
        // The first cell of the last row.
        qint64 lastId = 0;
    };

    // Starts reading the rows that `select`, with `values` bound, reads from
    // `fileName`. `columnData` holds, for each cell after the first (the id),
    // the associated data of its column, or an empty array for a cell that
    // holds no text; the texts are read as SQLite keeps them, as UTF-8 bytes
    // when `utf8`, else as text. `from` is the other store's key (empty for a
    // plain store), `to` this store's (nullptr for a plain one); both outlive
    // the object. The text cells of a chunk hold null or UTF-8 bytes.
    ImportedRows(const QString &fileName, const QString &select, const QList<qint64> &values,
                 const QList<QByteArray> &columnData, bool utf8, const DataKey &from, const DataKey *to);
    // Stops the reading and waits for its thread.
    ~ImportedRows();

    ImportedRows(const ImportedRows &) = delete;
    ImportedRows &operator=(const ImportedRows &) = delete;

    enum class Next { Chunk, End, Failed, Damaged };
    // Waits for the next chunk. Failed comes with the driver's text in
    // `error`; Damaged tells a sealed text that did not open with the other
    // store's key.
    Next next(Chunk *chunk, QString *error);

private:
    void read(const QString &fileName, const QString &select, const QList<qint64> &values, bool utf8);
    bool recode(Chunk *chunk) const;
    // Hands a chunk, or the end, over; false when the reading is to stop.
    bool hand(Chunk chunk, Next outcome = Next::Chunk, const QString &error = QString());

    const QList<QByteArray> columnData;
    const DataKey &from;
    const DataKey *to;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Chunk> chunks;
    // Set with the end: End, Failed or Damaged.
    Next outcome = Next::Chunk;
    QString failure;
    bool stopped = false;
    std::thread reader;
};

#endif
