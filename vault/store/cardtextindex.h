#ifndef CARDTEXTINDEX_H
#define CARDTEXTINDEX_H

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class FindQuery;

// The texts find looks in (card names, line titles and values), folded as
// find folds them and kept in memory only, so that a search is a scan of
// memory rather than of the store. It is built at the first search, follows
// this program's writes through temporary triggers (they live in the
// connection, not in the file), and is built again when another connection
// has written to the store.
class CardTextIndex
{
public:
    // Turns a text as stored into the text the user typed, given the table
    // and column it is stored in. Every text the index reads passes through
    // it; without one, StoreKey::open() opens them (plain texts pass as they are).
    using Opener = std::function<QString(const QString &stored, const QString &table, const QString &column)>;

    // The index of the default connection's store.
    static CardTextIndex &instance();

    // Set by a store whose texts are sealed; the index is read again with it.
    void setOpener(Opener opener);

    // The ids of the cards that hold the query, in ascending order, and
    // true; false with the driver's text when the store could not be read.
    bool find(const FindQuery &query, std::vector<int> *cards, QString *error);

    // Every card id, in ascending order, as of the last find.
    const std::vector<int> &allCards() const { return cardIds; }

    // Brings the index up to date with the store; false with the driver's
    // text when the store could not be read.
    bool update(QString *error = nullptr);

    // Drops the index; the next find builds it again. A bulk rewrite of the
    // tables (an import) calls it first, so that the triggers cost it nothing.
    void forget();

    // Memory taken, in bytes: the folded texts, and the reading sets of the
    // texts that hold Chinese characters.
    qint64 textBytes() const;
    qint64 pinyinBytes() const;

private:
    CardTextIndex() = default;
    bool build(QString *error);
    bool replaceCards(std::vector<int> touched, QString *error);
    void add(int card, const QString &stored, const QString &table, const QString &column);
    // The same for a text read as its UTF-8 bytes.
    void addUtf8(int card, const QByteArray &stored, const QString &table, const QString &column);

    struct Entry
    {
        // Where the text's terminating NUL stands in `texts`.
        quint32 end;
        // -1 once the text is dropped (its bytes are NULs then).
        int card;
    };
    struct Readable
    {
        quint32 entry;
        quint32 setsBegin;
        quint32 initials;
        quint32 letters;
    };

    Opener opener;
    bool built = false;
    qint64 dataVersion = -1;
    std::string texts;
    std::vector<Entry> entries;
    std::vector<Readable> readable;
    std::vector<quint16> sets;
    std::vector<int> cardIds;
    size_t droppedBytes = 0;
};

#endif
