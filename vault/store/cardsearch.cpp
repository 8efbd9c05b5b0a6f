#include "store/cardsearch.h"

#include "store/cardtable.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>

namespace CardSearch {

namespace {

// A table model's filter is SQL text and takes no bound values, so the
// pattern goes in as a literal quoted by the driver itself: whatever the user
// types stays inside the quotes.
QString literal(const QString &text)
{
    QSqlField field(QString(), QMetaType(QMetaType::QString));
    field.setValue(text);
    return QSqlDatabase::database().driver()->formatValue(field);
}

} // namespace

QString containsPattern(const QString &text)
{
    QString escaped = text;
    // A NUL would end the statement inside the literal; no stored text holds one.
    escaped.remove(QChar(0));
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString filter(int categoryId, const QString &text)
{
    const QString category = CardTable::categoryFilter(categoryId);
    if (text.isEmpty())
        return category;
    // SQLite's LIKE folds the case of ASCII letters only, which is what is
    // wanted: other scripts are matched as typed. The lines are read once in
    // store order; a test per card (EXISTS) would look each card's lines up
    // through the index and takes about twice as long for a rare word.
    const QString found = QStringLiteral("(card.name LIKE %1 ESCAPE '\\' OR card.id IN (SELECT cardid FROM content "
                                         "WHERE content.title LIKE %1 ESCAPE '\\' "
                                         "OR content.value LIKE %1 ESCAPE '\\'))")
                              .arg(literal(containsPattern(text)));
    return category.isEmpty() ? found : category + QLatin1String(" AND ") + found;
}

} // namespace CardSearch
