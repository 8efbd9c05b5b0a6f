#include "store/categorytable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CategoryTable {

QList<NamedRow> all()
{
    QList<NamedRow> rows;
    QSqlQuery query;
    query.exec(QStringLiteral("SELECT name, id FROM category"));
    while (query.next())
        rows.append({query.value(1).toInt(), query.value(0).toString()});
    return rows;
}

QString name(int id)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("select name from category where id = ?"));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

std::optional<int> countCards(int categoryId, QString *error)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM card WHERE categoryid = ?"));
    query.addBindValue(categoryId);
    if (!query.exec() || !query.next()) {
        *error = query.lastError().text();
        return std::nullopt;
    }
    return query.value(0).toInt();
}

} // namespace CategoryTable
