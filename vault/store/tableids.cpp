#include "store/tableids.h"

#include <QSqlQuery>
#include <QVariant>

namespace TableIds {

int maxId(const QString &table)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT MAX(id) FROM ") + table) || !query.next())
        return 0;
    return query.value(0).toInt();
}

} // namespace TableIds
