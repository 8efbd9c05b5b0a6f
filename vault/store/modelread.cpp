#include "store/modelread.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>

namespace {

const char staleProperty[] = "nimbrelStale";
const char filterProperty[] = "nimbrelPendingFilter";

} // namespace

namespace ModelRead {

bool canRead(const QSqlDatabase &db, const QString &table, QString *error)
{
    // The same lock as the model's select takes.
    QSqlQuery probe(db);
    if (probe.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table)))
        return true;
    if (error)
        *error = probe.lastError().text();
    return false;
}

bool select(QSqlTableModel *model, QString *error)
{
    bool read = canRead(model->database(), model->tableName(), error);
    if (read) {
        const QVariant filter = model->property(filterProperty);
        model->setProperty(filterProperty, QVariant());
        if (filter.isValid() && filter.toString() != model->filter() && model->query().isActive()) {
            // A model that has been read reads itself again as its filter changes.
            model->setFilter(filter.toString());
            read = model->lastError().type() == QSqlError::NoError;
        } else {
            if (filter.isValid())
                model->setFilter(filter.toString());
            read = model->select();
        }
    }
    if (!read && error && error->isEmpty())
        *error = model->lastError().text();
    model->setProperty(staleProperty, !read);
    return read;
}

bool select(QSqlTableModel *model, const QString &filter, QString *error)
{
    model->setProperty(filterProperty, filter);
    return select(model, error);
}

bool isStale(const QSqlTableModel *model)
{
    return model->property(staleProperty).toBool();
}

} // namespace ModelRead
