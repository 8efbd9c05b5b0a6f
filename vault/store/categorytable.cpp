#include "store/categorytable.h"

#include "store/storekey.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CategoryTable {

bool all(QList<NamedRow> *rows, QString *error)
{
    rows->clear();
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT name, id FROM category"))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    while (query.next())
        rows->append({query.value(1).toInt(),
                      StoreKey::open(QStringLiteral("category"), QStringLiteral("name"), query.value(0))});
    return true;
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
