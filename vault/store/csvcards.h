#ifndef CSVCARDS_H
#define CSVCARDS_H

#include "store/csvlayout.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

// Cards from and to CSV files, written to and read from the store.
namespace CsvCards {

// Every text the import writes (names, titles, values) goes through here on
// its way into the store, sealed in an encrypted store, and every text the
// export reads comes back opened through the other.
QString toStored(const char *table, const char *column, const QString &typed);
QString fromStored(const char *table, const char *column, const QVariant &stored);

// Stores the cards, each in the category of its name (an existing one, or
// one made once per name), those without a name in `ownCategory`; new ids
// follow the largest of each table. One transaction: all or nothing, false
// with the driver's text in `error`. `progress` hears the cards written so
// far now and then.
bool write(const QList<CsvCard> &cards, const QString &ownCategory, const std::function<void(int written)> &progress,
           QString *error);

// The stored cards in id order with their lines in line order, or only
// those in `only` when given; false with the driver's text on failure.
bool read(const std::optional<QSet<int>> &only, QList<CsvCard> *cards, QString *error);

// The cards in this program's own layout, as a whole file.
QByteArray toCsv(const QList<CsvCard> &cards);

// How many cards are written between two reports of progress.
constexpr int progressStep = 500;

} // namespace CsvCards

#endif
