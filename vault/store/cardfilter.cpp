#include "store/cardfilter.h"

#include "store/cardsearch.h"
#include "store/cardstore.h"
#include "store/settingsrow.h"

CardFilter::CardFilter(QObject *parent)
    : QObject(parent)
    , shownCategory(SettingsRow::allCategories)
{ }

bool CardFilter::load(QString *error)
{
    const std::optional<int> stored = SettingsRow::category(error);
    shownCategory = stored.value_or(SettingsRow::allCategories);
    emit categoryShown(shownCategory);
    emit changed();
    return stored.has_value();
}

bool CardFilter::choose(int categoryId, QString *error, QString *detail)
{
    // Stored first: a choice the store refuses is never shown.
    if (!isStoreReadOnly() && !SettingsRow::setCategory(categoryId, error, detail)) {
        emit categoryShown(shownCategory);
        return false;
    }
    shownCategory = categoryId;
    emit categoryShown(shownCategory);
    emit changed();
    return true;
}

void CardFilter::find(const QString &text)
{
    findText = text;
    emit changed();
}

bool CardFilter::modelFilter(QString *filter, QString *error) const
{
    return CardSearch::filter(shownCategory, findText, filter, error);
}
