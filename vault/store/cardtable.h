#ifndef CARDTABLE_H
#define CARDTABLE_H

#include "store/categorytable.h"

#include <QList>
#include <QString>

// What the card and line tables need beyond their table models.
namespace CardTable {

// The card model's filter: all cards, or those of one category.
QString categoryFilter(int categoryId);

// The line model's filter: the lines of one card.
QString linesFilter(int cardId);

// Deletes the card's lines and then the card, in one transaction. On failure
// nothing is deleted and `error` holds the driver's text.
bool deleteCard(int id, QString *error);

// The stored name of a card type; empty when the id names none.
QString typeName(int typeId);

// Every stored card type in id order.
QList<NamedRow> types();

} // namespace CardTable

#endif
