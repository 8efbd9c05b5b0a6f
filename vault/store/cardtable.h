#ifndef CARDTABLE_H
#define CARDTABLE_H

#include "store/categorytable.h"

#include <QList>
#include <QString>

class QSqlError;

// What the card and line tables need beyond their table models.
namespace CardTable {

// The card model's filter: all cards, or those of one category.
QString categoryFilter(int categoryId);

// The line model's filter: the lines of one card.
QString linesFilter(int cardId);

// Deletes the card's lines and then the card, in one transaction. On failure
// nothing is deleted and `error` tells why.
bool deleteCard(int id, QSqlError *error);

// Every stored card type in id order; `read` tells whether the store could be read.
QList<NamedRow> types(bool *read = nullptr);

} // namespace CardTable

#endif
