#include "store/cardtextindex.h"

#include "store/findquery.h"
#include "store/hanzitable.h"
#include "store/sealedtext.h"
#include "store/storekey.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cstring>
#include <functional>
#include <type_traits>

namespace {

// The cards this program's writes touched since the index last read them.
// Temporary objects belong to the connection and never reach the file.
const char *const followStatements[] = {
    "CREATE TEMP TABLE IF NOT EXISTS nimbrel_touched (cardid INTEGER PRIMARY KEY)",
    "CREATE TEMP TRIGGER IF NOT EXISTS nimbrel_card_insert AFTER INSERT ON main.card "
    "BEGIN INSERT OR IGNORE INTO nimbrel_touched VALUES (NEW.id); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS nimbrel_card_update AFTER UPDATE OF id, name ON main.card "
    "BEGIN INSERT OR IGNORE INTO nimbrel_touched VALUES (OLD.id), (NEW.id); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS nimbrel_card_delete AFTER DELETE ON main.card "
    "BEGIN INSERT OR IGNORE INTO nimbrel_touched VALUES (OLD.id); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS nimbrel_content_insert AFTER INSERT ON main.content "
    "BEGIN INSERT OR IGNORE INTO nimbrel_touched VALUES (NEW.cardid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS nimbrel_content_update AFTER UPDATE ON main.content "
    "BEGIN INSERT OR IGNORE INTO nimbrel_touched VALUES (OLD.cardid), (NEW.cardid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS nimbrel_content_delete AFTER DELETE ON main.content "
    "BEGIN INSERT OR IGNORE INTO nimbrel_touched VALUES (OLD.cardid); END",
};
const char *const unfollowStatements[] = {
    "DROP TRIGGER IF EXISTS temp.nimbrel_card_insert",    "DROP TRIGGER IF EXISTS temp.nimbrel_card_update",
    "DROP TRIGGER IF EXISTS temp.nimbrel_card_delete",    "DROP TRIGGER IF EXISTS temp.nimbrel_content_insert",
    "DROP TRIGGER IF EXISTS temp.nimbrel_content_update", "DROP TRIGGER IF EXISTS temp.nimbrel_content_delete",
    "DROP TABLE IF EXISTS temp.nimbrel_touched",
};

const QString cardTable = QStringLiteral("card");
const QString contentTable = QStringLiteral("content");
const QString nameColumn = QStringLiteral("name");
const QString titleColumn = QStringLiteral("title");
const QString valueColumn = QStringLiteral("value");
const QByteArray sealedPrefix = SealedText::prefix.toLatin1();

// The first place at or after `from` where the needle stands, or npos.
class Scan
{
public:
    explicit Scan(const std::string &needle)
        : needle(needle)
#ifndef __GLIBC__
        , searcher(needle.begin(), needle.end())
#endif
    { }

    size_t find(const std::string &haystack, size_t from) const
    {
        if (from >= haystack.size())
            return std::string::npos;
#ifdef __GLIBC__
        const void *hit = memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
        return hit ? size_t(static_cast<const char *>(hit) - haystack.data()) : std::string::npos;
#else
        const auto hit = std::search(haystack.begin() + from, haystack.end(), searcher);
        return hit == haystack.end() ? std::string::npos : size_t(hit - haystack.begin());
#endif
    }

private:
    const std::string &needle;
#ifndef __GLIBC__
    std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher;
#endif
};

// Most texts are ASCII: folded as find folds them, byte by byte, they have
// no readings to keep. Appends the folded text and returns true, or appends
// nothing and returns false when the text holds another character.
template<typename Unit> bool appendAscii(std::string &texts, const Unit *units, size_t size)
{
    const size_t begin = texts.size();
    texts.resize(begin + size);
    char *out = texts.data() + begin;
    for (size_t i = 0; i < size; ++i) {
        const auto unit = std::make_unsigned_t<Unit>(units[i]);
        if (unit >= 0x80) {
            texts.resize(begin);
            return false;
        }
        out[i] = char(unit >= 'A' && unit <= 'Z' ? unit + 32 : unit);
    }
    return true;
}

} // namespace

CardTextIndex &CardTextIndex::instance()
{
    static CardTextIndex index;
    return index;
}

void CardTextIndex::setOpener(Opener newOpener)
{
    opener = std::move(newOpener);
    forget();
}

bool CardTextIndex::find(const FindQuery &query, std::vector<int> *cards, QString *error)
{
    if (!update(error))
        return false;
    cards->clear();
    if (query.isEmpty()) {
        *cards = cardIds;
        return true;
    }
    const Scan scan(query.folded());
    auto next = entries.begin();
    for (size_t at = scan.find(texts, 0); at != std::string::npos; at = scan.find(texts, next->end + 1)) {
        // The text the match stands in: the first whose end lies after it.
        next = std::upper_bound(next, entries.end(), at, [](size_t offset, const Entry &e) { return offset < e.end; });
        cards->push_back(next->card);
    }
    if (query.hasPinyin()) {
        for (size_t i = 0; i < readable.size(); ++i) {
            const Readable &text = readable[i];
            const int card = entries[text.entry].card;
            if (card < 0 || !query.mayMatchPinyin(text.initials, text.letters))
                continue;
            const size_t end = i + 1 < readable.size() ? readable[i + 1].setsBegin : sets.size();
            if (query.matchesPinyin(sets.data() + text.setsBegin, end - text.setsBegin))
                cards->push_back(card);
        }
    }
    std::sort(cards->begin(), cards->end());
    cards->erase(std::unique(cards->begin(), cards->end()), cards->end());
    return true;
}

bool CardTextIndex::update(QString *error)
{
    // Without the key the index would hold the sealed forms as the texts.
    if (StoreKey::isLocked()) {
        if (error)
            *error = StoreKey::lockedText();
        return false;
    }
    if (!built)
        return build(error);
    QSqlQuery query;
    query.setForwardOnly(true);
    // The connection was opened again since the build: its triggers are gone.
    if (!query.exec(QStringLiteral("SELECT cardid FROM temp.nimbrel_touched")))
        return build(error);
    std::vector<int> touched;
    while (query.next())
        touched.push_back(query.value(0).toInt());
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    // Another connection wrote: what it changed is not known.
    if (query.value(0).toLongLong() != dataVersion)
        return build(error);
    if (touched.empty())
        return true;
    if (touched.size() > cardIds.size() / 8 + 100)
        return build(error);
    return replaceCards(std::move(touched), error);
}

bool CardTextIndex::build(QString *error)
{
    forget();
    QSqlDatabase db = QSqlDatabase::database();
    // One read of both tables sees one state of the store.
    const bool ownTransaction = db.transaction();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto fail = [&]() {
        if (error)
            *error = query.lastError().text();
        query.finish();
        if (ownTransaction)
            db.rollback();
        forget();
        return false;
    };
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return fail();
    dataVersion = query.value(0).toLongLong();
    for (const char *statement : followStatements) {
        if (!query.exec(QLatin1String(statement)))
            return fail();
    }
    // A store in SQLite's usual encoding hands its texts over as the UTF-8
    // bytes it keeps: no conversion to UTF-16 and back for each of them.
    if (!query.exec(QStringLiteral("PRAGMA encoding")) || !query.next())
        return fail();
    const QString bytes =
        query.value(0).toString() == QLatin1String("UTF-8") ? QStringLiteral("CAST(%1 AS BLOB)") : QStringLiteral("%1");
    if (!query.exec(QStringLiteral("DELETE FROM temp.nimbrel_touched"))
        || !query.exec(QStringLiteral("SELECT id, %1 FROM card").arg(bytes.arg(nameColumn))))
        return fail();
    while (query.next()) {
        const int id = query.value(0).toInt();
        cardIds.push_back(id);
        addUtf8(id, query.value(1).toByteArray(), cardTable, nameColumn);
    }
    if (!query.isActive()
        || !query.exec(
            QStringLiteral("SELECT cardid, %1, %2 FROM content").arg(bytes.arg(titleColumn), bytes.arg(valueColumn))))
        return fail();
    while (query.next()) {
        const int card = query.value(0).toInt();
        addUtf8(card, query.value(1).toByteArray(), contentTable, titleColumn);
        addUtf8(card, query.value(2).toByteArray(), contentTable, valueColumn);
    }
    if (!query.isActive())
        return fail();
    query.finish();
    if (ownTransaction && !db.commit())
        return fail();
    std::sort(cardIds.begin(), cardIds.end());
    texts.shrink_to_fit();
    entries.shrink_to_fit();
    readable.shrink_to_fit();
    sets.shrink_to_fit();
    built = true;
    return true;
}

bool CardTextIndex::replaceCards(std::vector<int> touched, QString *error)
{
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    const auto isTouched = [&](int card) { return std::binary_search(touched.begin(), touched.end(), card); };
    for (size_t i = 0; i < entries.size(); ++i) {
        Entry &entry = entries[i];
        if (entry.card < 0 || !isTouched(entry.card))
            continue;
        // NULs match no query.
        const size_t begin = i == 0 ? 0 : entries[i - 1].end + 1;
        std::memset(texts.data() + begin, 0, entry.end - begin);
        droppedBytes += entry.end - begin + 1;
        entry.card = -1;
    }
    cardIds.erase(std::remove_if(cardIds.begin(), cardIds.end(), isTouched), cardIds.end());

    QSqlDatabase db = QSqlDatabase::database();
    const bool ownTransaction = db.transaction();
    QSqlQuery name(db);
    QSqlQuery lines(db);
    name.setForwardOnly(true);
    lines.setForwardOnly(true);
    name.prepare(QStringLiteral("SELECT name FROM card WHERE id = ?"));
    lines.prepare(QStringLiteral("SELECT title, value FROM content WHERE cardid = ?"));
    const auto fail = [&](const QSqlQuery &failed) {
        if (error)
            *error = failed.lastError().text();
        name.finish();
        lines.finish();
        if (ownTransaction)
            db.rollback();
        forget();
        return false;
    };
    for (const int card : touched) {
        name.addBindValue(card);
        if (!name.exec())
            return fail(name);
        // A deleted card is gone; its lines, if any are left, are found by no card.
        if (!name.next())
            continue;
        cardIds.push_back(card);
        add(card, name.value(0).toString(), cardTable, nameColumn);
        lines.addBindValue(card);
        if (!lines.exec())
            return fail(lines);
        while (lines.next()) {
            add(card, lines.value(0).toString(), contentTable, titleColumn);
            add(card, lines.value(1).toString(), contentTable, valueColumn);
        }
    }
    name.finish();
    lines.finish();
    QSqlQuery clear(db);
    if (!clear.exec(QStringLiteral("DELETE FROM temp.nimbrel_touched")))
        return fail(clear);
    if (ownTransaction && !db.commit())
        return fail(clear);
    std::sort(cardIds.begin(), cardIds.end());
    // Dropped texts cost memory and scanning time; past half, start afresh.
    if (droppedBytes > texts.size() / 2)
        return build(error);
    return true;
}

void CardTextIndex::addUtf8(int card, const QByteArray &stored, const QString &table, const QString &column)
{
    // A sealed text is ASCII too, but stands for another one.
    if (!opener && !stored.startsWith(sealedPrefix) && appendAscii(texts, stored.constData(), size_t(stored.size()))) {
        entries.push_back({quint32(texts.size()), card});
        texts.push_back('\0');
        return;
    }
    add(card, QString::fromUtf8(stored), table, column);
}

void CardTextIndex::add(int card, const QString &stored, const QString &table, const QString &column)
{
    const QString text = opener ? opener(stored, table, column) : StoreKey::open(table, column, stored);
    if (appendAscii(texts, text.utf16(), size_t(text.size()))) {
        entries.push_back({quint32(texts.size()), card});
        texts.push_back('\0');
        return;
    }
    const size_t setsBegin = sets.size();
    if (FindQuery::fold(text, texts, &sets)) {
        const HanziTable &hanzi = HanziTable::instance();
        Readable entry = {quint32(entries.size()), quint32(setsBegin), 0, 0};
        for (size_t i = setsBegin; i < sets.size(); ++i) {
            entry.initials |= hanzi.initials(sets[i]);
            entry.letters |= hanzi.letters(sets[i]);
        }
        readable.push_back(entry);
    } else {
        sets.resize(setsBegin);
    }
    entries.push_back({quint32(texts.size()), card});
    texts.push_back('\0');
}

void CardTextIndex::forget()
{
    built = false;
    dataVersion = -1;
    droppedBytes = 0;
    texts.clear();
    texts.shrink_to_fit();
    entries = {};
    readable = {};
    sets = {};
    cardIds = {};
    if (!QSqlDatabase::database(QSqlDatabase::defaultConnection, false).isOpen())
        return;
    QSqlQuery query;
    for (const char *statement : unfollowStatements)
        query.exec(QLatin1String(statement));
}

qint64 CardTextIndex::textBytes() const
{
    return qint64(texts.capacity() + entries.capacity() * sizeof(Entry) + cardIds.capacity() * sizeof(int));
}

qint64 CardTextIndex::pinyinBytes() const
{
    return qint64(readable.capacity() * sizeof(Readable) + sets.capacity() * sizeof(quint16))
        + HanziTable::instance().bytes();
}
