#include "store/csvcards.h"

#include "store/storekey.h"
#include "store/tableids.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <climits>

namespace CsvCards {

QString toStored(const char *table, const char *column, const QString &typed)
{
    // An empty field is an empty text, never NULL, which the columns refuse.
    return StoreKey::seal(QLatin1String(table), QLatin1String(column), typed.isNull() ? QStringLiteral("") : typed);
}

QString fromStored(const char *table, const char *column, const QVariant &stored)
{
    return StoreKey::open(QLatin1String(table), QLatin1String(column), stored);
}

namespace {

bool failed(const QSqlQuery &query, QString *error)
{
    *error = query.lastError().text();
    return false;
}

// The ids of the categories, by name, that the cards go into; new ones are
// inserted with the next ids.
bool fileCategories(const QList<CsvCard> &cards, const QString &ownCategory, QHash<QString, int> *ids, QString *error)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT id, name FROM category ORDER BY id")))
        return failed(query, error);
    QHash<QString, int> existing;
    while (query.next()) {
        const QString name = fromStored("category", "name", query.value(1));
        if (!existing.contains(name))
            existing.insert(name, query.value(0).toInt());
    }
    qint64 nextId = qint64(TableIds::maxId(QStringLiteral("category"))) + 1;
    query.prepare(QStringLiteral("INSERT INTO category (id, name) VALUES (?, ?)"));
    for (const CsvCard &card : cards) {
        const QString name = card.category.isEmpty() ? ownCategory : card.category;
        if (ids->contains(name))
            continue;
        if (existing.contains(name)) {
            ids->insert(name, existing.value(name));
            continue;
        }
        if (nextId > INT_MAX) {
            *error = QCoreApplication::translate("CsvCards", "The category ids would grow too large.");
            return false;
        }
        query.addBindValue(int(nextId));
        query.addBindValue(toStored("category", "name", name));
        if (!query.exec())
            return failed(query, error);
        ids->insert(name, int(nextId++));
    }
    return true;
}

bool writeAll(const QList<CsvCard> &cards, const QString &ownCategory, const std::function<void(int)> &progress,
              QString *error)
{
    QHash<QString, int> categories;
    if (!fileCategories(cards, ownCategory, &categories, error))
        return false;
    qint64 lineCount = 0;
    for (const CsvCard &card : cards)
        lineCount += card.lines.size();
    const qint64 firstCard = qint64(TableIds::maxId(QStringLiteral("card"))) + 1;
    qint64 lineId = qint64(TableIds::maxId(QStringLiteral("content"))) + 1;
    if (firstCard + cards.size() > INT_MAX || lineId + lineCount > INT_MAX) {
        *error = QCoreApplication::translate("CsvCards", "The card or line ids would grow too large.");
        return false;
    }
    QSqlQuery cardInsert;
    cardInsert.prepare(QStringLiteral("INSERT INTO card (id, type, name, categoryid) VALUES (?, ?, ?, ?)"));
    QSqlQuery lineInsert;
    lineInsert.prepare(QStringLiteral("INSERT INTO content (id, title, value, cardid) VALUES (?, ?, ?, ?)"));
    for (int i = 0; i < cards.size(); ++i) {
        const CsvCard &card = cards.at(i);
        const int cardId = int(firstCard + i);
        cardInsert.addBindValue(cardId);
        cardInsert.addBindValue(card.type);
        cardInsert.addBindValue(toStored("card", "name", card.name));
        cardInsert.addBindValue(categories.value(card.category.isEmpty() ? ownCategory : card.category));
        if (!cardInsert.exec())
            return failed(cardInsert, error);
        for (const auto &line : card.lines) {
            lineInsert.addBindValue(int(lineId++));
            lineInsert.addBindValue(toStored("content", "title", line.first));
            lineInsert.addBindValue(toStored("content", "value", line.second));
            lineInsert.addBindValue(cardId);
            if (!lineInsert.exec())
                return failed(lineInsert, error);
        }
        if ((i + 1) % progressStep == 0 || i + 1 == cards.size())
            progress(i + 1);
    }
    return true;
}

} // namespace

bool write(const QList<CsvCard> &cards, const QString &ownCategory, const std::function<void(int)> &progress,
           QString *error)
{
    QSqlDatabase store = QSqlDatabase::database();
    if (!store.transaction()) {
        *error = store.lastError().text();
        return false;
    }
    if (writeAll(cards, ownCategory, progress, error) && store.commit())
        return true;
    if (error->isEmpty())
        *error = store.lastError().text();
    store.rollback();
    return false;
}

bool read(const std::optional<QSet<int>> &only, QList<CsvCard> *cards, QString *error)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT c.id, c.type, c.name, g.name FROM card c "
                                   "LEFT JOIN category g ON g.id = c.categoryid ORDER BY c.id")))
        return failed(query, error);
    QHash<int, int> positions;
    while (query.next()) {
        const int id = query.value(0).toInt();
        if (only && !only->contains(id))
            continue;
        positions.insert(id, cards->size());
        cards->append({query.value(1).toInt(),
                       fromStored("card", "name", query.value(2)),
                       query.value(3).isNull() ? QString() : fromStored("category", "name", query.value(3)),
                       {}});
    }
    if (!query.exec(QStringLiteral("SELECT cardid, title, value FROM content ORDER BY id")))
        return failed(query, error);
    while (query.next()) {
        const auto position = positions.constFind(query.value(0).toInt());
        if (position != positions.constEnd())
            (*cards)[*position].lines.append(
                {fromStored("content", "title", query.value(1)), fromStored("content", "value", query.value(2))});
    }
    return true;
}

QByteArray toCsv(const QList<CsvCard> &cards)
{
    int widest = 0;
    for (const CsvCard &card : cards)
        widest = qMax(widest, int(card.lines.size()));
    QByteArray text = CsvFile::header() + CsvFile::formatRow(CsvLayout::ownHeader(widest));
    for (const CsvCard &card : cards)
        text += CsvFile::formatRow(CsvLayout::ownRow(card));
    return text;
}

} // namespace CsvCards
