#include "store/categorytable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CategoryTable {

QList<NamedRow> all(bool *read)
{
    QList<NamedRow> rows;
    QSqlQuery query;
    const bool ok = query.exec(QStringLiteral("SELECT name, id FROM category"));
    while (query.next())
        rows.append({query.value(1).toInt(), query.value(0).toString()});
    if (read)
        *read = ok;
    return rows;
}

std::optional<int> countCards(int categoryId, QSqlError *error)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM card WHERE categoryid = ?"));
    query.addBindValue(categoryId);
    if (!query.exec() || !query.next()) {
        *error = query.lastError();
        return std::nullopt;
    }
    return query.value(0).toInt();
}

std::optional<int> largestId(QSqlError *error)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT MAX(id) FROM category")) || !query.next()) {
        *error = query.lastError();
        return std::nullopt;
    }
    return query.value(0).toInt();
}

} // namespace CategoryTable
