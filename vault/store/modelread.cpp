#include "store/modelread.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>

namespace {

const char staleProperty[] = "nimbrelStale";
const char filterProperty[] = "nimbrelPendingFilter";

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
    bool read = storeAnswers(model, error);
    const QVariant filter = model->property(filterProperty);
    if (read && filter.isValid() && filter.toString() != model->filter()) {
        model->setProperty(filterProperty, QVariant());
        const bool wasRead = model->query().isActive();
        model->setFilter(filter.toString());
        read = wasRead ? model->lastError().type() == QSqlError::NoError : model->select();
    } else if (read) {
        model->setProperty(filterProperty, QVariant());
        read = model->select();
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

bool refresh(QSqlTableModel *model, QString *error)
{
    return !isStale(model) || select(model, error);
}

bool isStale(const QSqlTableModel *model)
{
    return model->property(staleProperty).toBool();
}

} // namespace ModelRead
