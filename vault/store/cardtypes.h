#ifndef CARDTYPES_H
#define CARDTYPES_H

#include <QString>
#include <QStringList>

#include <cstddef>

// The 18 fixed card types. A type's id is its position in the list plus one;
// the store keeps the id in card.type and seeds table cardtype with the names.
namespace CardTypes {

// The line titles a card of a type starts with, as source texts of the
// context "CardForm": they are translated where the lines are made.
struct LineTemplate
{
    const char *const *titles;
    std::size_t count;

    const char *const *begin() const { return titles; }
    const char *const *end() const { return titles + count; }
};

struct CardType
{
    // The name as the store is seeded with it; translated in the context "QObject".
    const char *sourceName;
    // The 32 x 32 icon of the card table and the type editor.
    const char *icon;
    LineTemplate lines;
};

constexpr int count = 18;
// What a new card is: "Password".
constexpr int newCardType = 13;

// The type of an id from 1 to count, nullptr for any other id.
const CardType *find(int id);

// Empty for an id outside 1 to count.
QString sourceName(int id);
QString translatedName(int id);
QString iconPath(int id);

// Every source name in id order.
const QStringList &sourceNames();

} // namespace CardTypes

#endif
