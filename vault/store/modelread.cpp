#include "store/modelread.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>

namespace {

const char staleProperty[] = "nimbrelStale";

// A read of the same table that takes the same lock as the model's select.
bool storeAnswers(const QSqlTableModel *model, QString *error)
{
    QSqlQuery probe(model->database());
    if (probe.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(model->tableName())))
        return true;
    if (error)
        *error = probe.lastError().text();
    return false;
}

} // namespace

namespace ModelRead {

bool select(QSqlTableModel *model, QString *error)
{
    const bool read = storeAnswers(model, error) && model->select();
    if (!read && error && error->isEmpty())
        *error = model->lastError().text();
    model->setProperty(staleProperty, !read);
    return read;
}

bool refresh(QSqlTableModel *model, QString *error)
{
    return !isStale(model) || select(model, error);
}

bool isStale(const QSqlTableModel *model)
{
    return model->property(staleProperty).toBool();
}

} // namespace ModelRead
