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

// Every stored card type in id order; false, with the driver's reason in
// `error`, when the store could not be read.
bool types(QList<NamedRow> *rows, QString *error = nullptr);

} // namespace CardTable

#endif
