#ifndef CARDSEARCH_H
#define CARDSEARCH_H

#include <QString>

// Finding cards by what they hold: their name, or a title or value of one of
// their lines, as FindQuery matches them.
namespace CardSearch {

// The card model's filter: the cards of the category (all cards for
// SettingsRow::allCategories) that hold `text`; just the category's filter
// when the text is empty. False, with the driver's text in `error`, when the
// store could not be read.
bool filter(int categoryId, const QString &text, QString *filter, QString *error);

// Reads the store's texts ahead of the first search, so that it answers at
// once; a store that cannot be read now is read at the search.
void prepare();

} // namespace CardSearch

#endif
