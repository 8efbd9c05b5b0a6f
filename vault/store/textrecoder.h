#ifndef TEXTRECODER_H
#define TEXTRECODER_H

#include <QByteArray>
#include <QList>
#include <QVariant>

#include <atomic>
#include <future>
#include <vector>

class DataKey;

// Turns the texts of rows read from another store into this store's form:
// opened with that store's key when they are sealed, then sealed with this
// store's key when it has one. A second thread recodes beside the caller's,
// so that the caller can read and write other rows in the meantime.
class TextRecoder
{
public:
    // `columnData` holds, for each cell of a row, the associated data of its
    // column, or an empty array for a cell that holds no text. `from` is the
    // other store's key (empty for a plain store), `to` this store's
    // (nullptr for a plain store); both outlive the recoder.
    TextRecoder(const DataKey &from, const DataKey *to, QList<QByteArray> columnData);
    // Waits for the second thread, if it still runs.
    ~TextRecoder();

    TextRecoder(const TextRecoder &) = delete;
    TextRecoder &operator=(const TextRecoder &) = delete;

    // Starts recoding `cells`, rows of cells one after the other, in place;
    // the cells of the text columns hold null or the texts' UTF-8 bytes.
    // They stay untouched by the caller until finish().
    void start(std::vector<QVariant> *cells);
    // Recodes what is left, beside the second thread, and waits for it.
    // False when a sealed text does not open with the other store's key.
    bool finish();

private:
    void recodeStretches();
    bool recode(QVariant &cell, const QByteArray &columnData, const unsigned char *nonce) const;

    const DataKey &from;
    const DataKey *to;
    const QList<QByteArray> columnData;
    int textColumns = 0;
    std::vector<QVariant> *cells = nullptr;
    std::atomic<size_t> nextRow {0};
    std::atomic<bool> damaged {false};
    std::future<void> helper;
};

#endif
