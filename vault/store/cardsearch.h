#ifndef CARDSEARCH_H
#define CARDSEARCH_H

#include <QString>

// Finding cards by what they hold: their name, or a title or value of one of
// their lines.
namespace CardSearch {

// The card model's filter: the cards of the category (all cards for
// SettingsRow::allCategories) that hold `text` anywhere, Latin letters in
// either case; just the category's filter when the text is empty. The text
// is matched as it stands, "%", "_" and "\" included.
QString filter(int categoryId, const QString &text);

// A LIKE pattern, escaped with "\", that matches any text holding `text`.
QString containsPattern(const QString &text);

} // namespace CardSearch

#endif
