#include "store/tableids.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <optional>

namespace TableIds {

namespace {

std::optional<int> queryMax(const QString &table)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT MAX(id) FROM ") + table) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

} // namespace

int maxId(const QString &table)
{
    return queryMax(table).value_or(0);
}

int nextId(const QString &table)
{
    const std::optional<int> max = queryMax(table);
    return max ? *max + 1 : 0;
}

void setField(QSqlRecord &record, const QString &name, const QVariant &value)
{
    record.setValue(name, value);
    record.setGenerated(name, true);
}

void assignNextId(QSqlRecord &record, const QString &table)
{
    setField(record, QStringLiteral("id"), nextId(table));
}

} // namespace TableIds
