#include "store/importedrows.h"

#include "store/datakey.h"
#include "store/sealedtext.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <sodium.h>

#include <algorithm>
#include <optional>

namespace {

// Rows handed over at a time, and chunks read ahead of the writing.
constexpr int chunkRows = 4000;
constexpr size_t chunksAhead = 2;

// `text` in this store's form: opened with `from` when it is sealed, then
// sealed with `to` when there is one.
bool recodeText(const DataKey &from, const DataKey *to, const QByteArray &columnData, const unsigned char *nonce,
                QByteArray *text)
{
    bool opened = false;
    if (SealedText::isSealedUtf8(*text)) {
        std::optional<QByteArray> open = SealedText::openUtf8(from, *text, columnData);
        // A plain store's text that merely looks sealed is its own text.
        if (!open && !from.isEmpty())
            return false;
        if (open) {
            *text = std::move(*open);
            opened = true;
        }
    }
    if (to) {
        QByteArray sealed = SealedText::sealUtf8(*to, *text, columnData, nonce);
        // The opened text goes no further than this.
        if (opened)
            sodium_memzero(text->data(), size_t(text->size()));
        *text = std::move(sealed);
    }
    return true;
}

} // namespace

ImportedRows::ImportedRows(const QString &fileName, const QString &select, const QList<qint64> &values,
                           const QList<QByteArray> &cellData, bool utf8, const DataKey &fromKey, const DataKey *toKey)
    : columnData(cellData)
    , from(fromKey)
    , to(toKey)
{
    reader = std::thread([this, fileName, select, values, utf8] { read(fileName, select, values, utf8); });
}

ImportedRows::~ImportedRows()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopped = true;
    }
    changed.notify_all();
    reader.join();
}

ImportedRows::Next ImportedRows::next(Chunk *chunk, QString *error)
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !chunks.empty() || outcome != Next::Chunk; });
    if (!chunks.empty()) {
        *chunk = std::move(chunks.front());
        chunks.pop_front();
        lock.unlock();
        changed.notify_all();
        return Next::Chunk;
    }
    if (error)
        *error = failure;
    return outcome;
}

bool ImportedRows::hand(Chunk chunk, Next end, const QString &error)
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return chunks.size() < chunksAhead || stopped; });
    if (stopped)
        return false;
    if (end == Next::Chunk) {
        chunks.push_back(std::move(chunk));
    } else {
        outcome = end;
        failure = error;
    }
    lock.unlock();
    changed.notify_all();
    return true;
}

void ImportedRows::read(const QString &fileName, const QString &select, const QList<qint64> &values, bool utf8)
{
    // A connection belongs to the thread that opens it.
    const QString connection = QStringLiteral("nimbrel_imported_rows_%1").arg(quintptr(this));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(fileName);
        QSqlQuery query(db);
        query.setForwardOnly(true);
        bool ok = db.open() && query.prepare(select);
        for (qint64 value : values)
            query.addBindValue(value);
        ok = ok && query.exec();
        if (!ok) {
            hand({}, Next::Failed, db.isOpen() ? query.lastError().text() : db.lastError().text());
        } else {
            const int width = int(columnData.size());
            for (;;) {
                Chunk chunk;
                chunk.cells.reserve(size_t(chunkRows * width));
                while (chunk.rows < chunkRows && query.next()) {
                    for (int i = 0; i < width; ++i) {
                        QVariant value = query.value(i + 1);
                        if (!utf8 && !columnData.at(i).isEmpty() && !value.isNull())
                            value = value.toString().toUtf8();
                        chunk.cells.push_back(std::move(value));
                    }
                    chunk.lastId = query.value(0).toLongLong();
                    ++chunk.rows;
                }
                if (query.lastError().isValid()) {
                    hand({}, Next::Failed, query.lastError().text());
                    break;
                }
                if (chunk.rows == 0) {
                    hand({}, Next::End);
                    break;
                }
                if (!recode(&chunk)) {
                    hand({}, Next::Damaged);
                    break;
                }
                if (!hand(std::move(chunk)))
                    break;
            }
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

bool ImportedRows::recode(Chunk *chunk) const
{
    const int width = int(columnData.size());
    std::vector<unsigned char> nonces;
    if (to) {
        // One draw of the system's random bytes for all the chunk's nonces.
        const auto texts = std::count_if(columnData.cbegin(), columnData.cend(),
                                         [](const QByteArray &data) { return !data.isEmpty(); });
        nonces.resize(size_t(chunk->rows) * size_t(texts) * SealedText::nonceSize);
        randombytes_buf(nonces.data(), nonces.size());
    }
    const unsigned char *nonce = nonces.data();
    for (size_t cell = 0; cell < chunk->cells.size(); ++cell) {
        const QByteArray &data = columnData.at(qsizetype(cell % size_t(width)));
        if (data.isEmpty())
            continue;
        QVariant &value = chunk->cells[cell];
        if (!value.isNull()) {
            QByteArray text = value.toByteArray();
            value = QVariant();
            if (!recodeText(from, to, data, nonce, &text))
                return false;
            value = std::move(text);
        }
        nonce += SealedText::nonceSize;
    }
    return true;
}
