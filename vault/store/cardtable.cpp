#include "store/cardtable.h"

#include "store/settingsrow.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CardTable {

namespace {

bool execBound(const QString &statement, int value, QSqlError *error)
{
    QSqlQuery query;
    query.prepare(statement);
    query.addBindValue(value);
    if (query.exec())
        return true;
    *error = query.lastError();
    return false;
}

} // namespace

QString categoryFilter(int categoryId)
{
    return categoryId == SettingsRow::allCategories ? QString() : QStringLiteral("categoryid = %1").arg(categoryId);
}

QString linesFilter(int cardId)
{
    return QStringLiteral("cardid = %1").arg(cardId);
}

bool deleteCard(int id, QSqlError *error)
{
    QSqlDatabase store = QSqlDatabase::database();
    if (!store.transaction()) {
        *error = store.lastError();
        return false;
    }
    if (execBound(QStringLiteral("DELETE FROM content where cardid = ?"), id, error)
        && execBound(QStringLiteral("DELETE FROM card where id = ?"), id, error)) {
        if (store.commit())
            return true;
        *error = store.lastError();
    }
    store.rollback();
    return false;
}

bool types(QList<NamedRow> *rows, QString *error)
{
    rows->clear();
    QSqlQuery query;
    if (!query.exec(QStringLiteral("select id, name from cardtype order by id"))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    while (query.next())
        rows->append({query.value(0).toInt(), query.value(1).toString()});
    return true;
}

} // namespace CardTable
