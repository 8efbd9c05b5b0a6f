#include "store/cardsearch.h"

#include "store/cardtable.h"
#include "store/cardtextindex.h"
#include "store/findquery.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace CardSearch {

namespace {

QString idList(const std::vector<int> &ids)
{
    QString list;
    list.reserve(int(ids.size()) * 7);
    for (const int id : ids) {
        if (!list.isEmpty())
            list += QLatin1Char(',');
        list += QString::number(id);
    }
    return list;
}

} // namespace

bool filter(int categoryId, const QString &text, QString *filter, QString *error)
{
    const QString category = CardTable::categoryFilter(categoryId);
    if (text.isEmpty()) {
        *filter = category;
        return true;
    }
    CardTextIndex &index = CardTextIndex::instance();
    std::vector<int> found;
    if (!index.find(FindQuery(text), &found, error))
        return false;
    // The shorter list: the cards found, or those not found when most are.
    const std::vector<int> &all = index.allCards();
    QString cards;
    if (found.size() * 2 <= all.size()) {
        cards = QStringLiteral("card.id IN (%1)").arg(idList(found));
    } else {
        std::vector<int> others;
        std::set_difference(all.begin(), all.end(), found.begin(), found.end(), std::back_inserter(others));
        cards = others.empty() ? QString() : QStringLiteral("card.id NOT IN (%1)").arg(idList(others));
    }
    if (category.isEmpty() || cards.isEmpty())
        *filter = category.isEmpty() ? cards : category;
    else
        *filter = category + QLatin1String(" AND ") + cards;
    return true;
}

void prepare()
{
    CardTextIndex::instance().update();
}

} // namespace CardSearch
