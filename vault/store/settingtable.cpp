#include "store/settingtable.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace SettingTable {

std::optional<QString> value(const QString &name)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT value FROM setting WHERE name = ?"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toString();
}

bool setValue(const QString &name, const QString &value, QString *error)
{
    QSqlDatabase store = QSqlDatabase::database();
    QSqlQuery query(store);
    bool ok = store.transaction()
        && query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS setting(name TEXT PRIMARY KEY, value TEXT)"));
    if (ok) {
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO setting (name, value) VALUES (?, ?)"));
        query.addBindValue(name);
        query.addBindValue(value);
        ok = query.exec();
    }
    if (ok && store.commit())
        return true;
    *error = query.lastError().isValid() ? query.lastError().text() : store.lastError().text();
    store.rollback();
    return false;
}

} // namespace SettingTable
