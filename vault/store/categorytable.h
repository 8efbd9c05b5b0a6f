#ifndef CATEGORYTABLE_H
#define CATEGORYTABLE_H

#include <QList>
#include <QString>

#include <optional>

class QSqlError;

// A stored row that has a name: a category or a card type.
struct NamedRow
{
    int id = 0;
    QString name;
};

// Reads of table category that no table model makes.
namespace CategoryTable {

// Every category in the order SQLite keeps them (ascending id); false, with
// the driver's reason in `error`, when the store could not be read.
bool all(QList<NamedRow> *rows, QString *error = nullptr);

// The number of cards filed under the category; empty when the store could
// not be asked, with the reason in `error`.
std::optional<int> countCards(int categoryId, QSqlError *error);

// The largest category id, 0 when there is none; empty when the store could
// not be asked, with the reason in `error`.
std::optional<int> largestId(QSqlError *error);

} // namespace CategoryTable

#endif
