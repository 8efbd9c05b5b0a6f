#include "store/storeimport.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// A URI keeps the attached file read-only; "?", "#" and "%" in the path
// would otherwise end or escape it.
QString readOnlyUri(const QString &fileName)
{
    QString path = QFileInfo(fileName).absoluteFilePath();
    path.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('?'), QLatin1String("%3f"))
        .replace(QLatin1Char('#'), QLatin1String("%23"));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return QLatin1String("file://") + path + QLatin1String("?mode=ro");
}

int copyRows(const QString &statement, const QList<int> &shifts, QString *error)
{
    QSqlQuery query;
    query.prepare(statement);
    for (int shift : shifts)
        query.addBindValue(shift);
    if (!query.exec()) {
        *error = query.lastError().text();
        return -1;
    }
    return query.numRowsAffected();
}

} // namespace

StoreImport::StoreImport(const QString &fileName)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS importdb"));
    query.addBindValue(readOnlyUri(fileName));
    attached = query.exec();
    if (!attached)
        attachError = query.lastError().text();
}

StoreImport::~StoreImport()
{
    if (attached)
        QSqlQuery().exec(QStringLiteral("DETACH DATABASE importdb"));
}

int StoreImport::copyCategories(int categoryShift, QString *error)
{
    return copyRows(QStringLiteral("insert into category select id + ?, name from importdb.category"),
                    {categoryShift}, error);
}

int StoreImport::copyCards(int cardShift, int categoryShift, QString *error)
{
    return copyRows(QStringLiteral("insert into card select id + ?, type, name, categoryid + ? from importdb.card"),
                    {cardShift, categoryShift}, error);
}

int StoreImport::copyLines(int contentShift, int cardShift, QString *error)
{
    return copyRows(
        QStringLiteral("insert into content select id + ?, title, value, cardid + ? from importdb.content"),
        {contentShift, cardShift}, error);
}

bool StoreImport::copyAll(const QList<Step> &steps, const std::function<void(int)> &progress, QString *error)
{
    QSqlDatabase store = QSqlDatabase::database();
    if (!store.transaction()) {
        *error = store.lastError().text();
        return false;
    }
    int copied = 0;
    bool ok = true;
    for (const Step &step : steps) {
        const int rows = step(error);
        if (rows < 0) {
            ok = false;
            break;
        }
        copied += rows;
        progress(copied);
    }
    if (ok && store.commit())
        return true;
    if (ok)
        *error = store.lastError().text();
    store.rollback();
    return false;
}
