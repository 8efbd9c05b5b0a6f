#include "store/storecheck.h"

#include "store/cardstore.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The tables whose loss loses what the user stored; the card types are
// rebuilt from the program's own list.
const char *const userTables[] = {"category", "card", "content", "option"};
const char *const rowTables[] = {"category", "card", "content"};
// Enough of SQLite's report to tell what is damaged.
constexpr int reportedProblems = 5;

} // namespace

bool StoreCheck::isEmptyFile(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() && file.isFile() && file.size() == 0;
}

StoreCheck StoreCheck::run(bool wasEmpty)
{
    StoreCheck check;
    if (wasEmpty) {
        check.verdict = Verdict::EmptyFile;
        return check;
    }
    QSqlQuery query;
    // The quick check reads every page once, without matching the indexes to
    // their tables: a fraction of a second for a large store.
    if (!query.exec(QStringLiteral("PRAGMA quick_check(%1)").arg(reportedProblems))) {
        check.verdict = isLockError(query.lastError()) ? Verdict::Unchecked : Verdict::Damaged;
        check.detail = query.lastError().text();
        return check;
    }
    QStringList problems;
    while (query.next())
        problems.append(query.value(0).toString());
    if (problems != QStringList {QStringLiteral("ok")}) {
        check.verdict = Verdict::Damaged;
        check.detail = problems.join(QLatin1Char('\n'));
        return check;
    }

    QStringList missing;
    bool holdsRows = false;
    for (const char *table : userTables) {
        query.prepare(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?"));
        query.addBindValue(QLatin1String(table));
        if (!query.exec() || !query.next())
            missing.append(QLatin1String(table));
    }
    for (const char *table : rowTables) {
        if (!missing.contains(QLatin1String(table)))
            holdsRows = holdsRows
                || (query.exec(QStringLiteral("select 1 from %1 limit 1").arg(QLatin1String(table))) && query.next());
    }
    query.finish();
    if (!missing.isEmpty() && holdsRows) {
        check.verdict = Verdict::Incomplete;
        check.detail = missing.join(QLatin1String(", "));
    }
    return check;
}
