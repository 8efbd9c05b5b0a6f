#include "store/storeencryption.h"

#include "store/cardtextindex.h"
#include "store/datakey.h"
#include "store/keyenvelope.h"
#include "store/sealedtext.h"
#include "store/settingsrow.h"
#include "store/storekey.h"

#include <QCoreApplication>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <climits>

namespace StoreEncryption {

namespace {

struct TextTable
{
    const char *name;
    QStringList columns;
};

const QList<TextTable> &textTables()
{
    static const QList<TextTable> tables = {
        {"category", {QStringLiteral("name")}},
        {"card", {QStringLiteral("name")}},
        {"content", {QStringLiteral("title"), QStringLiteral("value")}},
    };
    return tables;
}

// Rows sealed per read: the rows of a slice are read before any is written.
constexpr int sliceRows = 20000;

QString tr(const char *text)
{
    return QCoreApplication::translate("StoreEncryption", text);
}

bool fail(const QSqlQuery &query, QString *error)
{
    *error = query.lastError().text();
    return false;
}

struct Row
{
    qint64 rowId = 0;
    QVariantList texts;
};

// Seals the texts of one table with `key`, slice by slice in rowid order.
bool sealTable(const TextTable &table, const DataKey &key, int &done, int total,
               const std::function<void(int, int)> &progress, QString *error)
{
    const QString name = QLatin1String(table.name);
    QStringList assignments;
    QList<QByteArray> columnData;
    for (const QString &column : table.columns) {
        assignments << column + QLatin1String(" = ?");
        columnData << SealedText::columnData(name, column);
    }
    QSqlQuery read;
    read.setForwardOnly(true);
    read.prepare(QStringLiteral("select rowid, %1 from %2 where rowid > ? order by rowid limit ?")
                     .arg(table.columns.join(QLatin1String(", ")), name));
    QSqlQuery write;
    write.prepare(QStringLiteral("update %1 set %2 where rowid = ?").arg(name, assignments.join(QLatin1String(", "))));
    qint64 afterRowId = LLONG_MIN;
    for (;;) {
        read.addBindValue(afterRowId);
        read.addBindValue(sliceRows);
        if (!read.exec())
            return fail(read, error);
        QList<Row> rows;
        while (read.next()) {
            Row row {read.value(0).toLongLong(), {}};
            for (int i = 0; i < table.columns.size(); ++i)
                row.texts << read.value(i + 1);
            rows << row;
        }
        read.finish();
        if (rows.isEmpty())
            return true;
        for (const Row &row : rows) {
            for (int i = 0; i < row.texts.size(); ++i) {
                const QVariant &text = row.texts.at(i);
                // NULL is no text; it stays what it is.
                write.addBindValue(text.isNull() ? text
                                                 : QVariant(SealedText::seal(key, text.toString(), columnData.at(i))));
            }
            write.addBindValue(row.rowId);
            if (!write.exec())
                return fail(write, error);
        }
        afterRowId = rows.last().rowId;
        done += rows.size();
        progress(done, total);
    }
}

int rowTotal()
{
    int total = 0;
    QSqlQuery query;
    for (const TextTable &table : textTables()) {
        if (query.exec(QStringLiteral("select count(*) from ") + QLatin1String(table.name)) && query.next())
            total += query.value(0).toInt();
    }
    return total;
}

} // namespace

bool isEncrypted()
{
    return KeyEnvelope::isEnvelope(SettingsRow::password().value_or(QString()));
}

KeyCheck readStored()
{
    KeyCheck check;
    const std::optional<QString> stored = SettingsRow::password();
    if (!stored) {
        check.error = SettingsRow::lastError();
        check.heldElsewhere = SettingsRow::lastErrorWasLock();
        return check;
    }
    check.stored = *stored;
    check.result = Check::Differs;
    return check;
}

void compare(KeyCheck &check, const QString &typed)
{
    if (check.result == Check::Unreadable)
        return;
    if (!KeyEnvelope::isEnvelope(check.stored)) {
        check.result = typed == check.stored ? Check::Matches : Check::Differs;
        return;
    }
    bool damaged = false;
    check.key = KeyEnvelope::unwrap(check.stored, typed, &damaged);
    if (damaged) {
        check.error = tr("the key of the store is damaged");
        check.result = Check::Unreadable;
        return;
    }
    check.result = check.key.isEmpty() ? Check::Differs : Check::Matches;
}

Check finish(KeyCheck &check, bool unlock)
{
    if (unlock && check.result == Check::Matches && !check.key.isEmpty()) {
        QSqlQuery().exec(QStringLiteral("PRAGMA secure_delete = ON"));
        StoreKey::install(std::move(check.key));
    }
    check.key = DataKey();
    return check.result;
}

Check check(const QString &typed, bool unlock, QString *error)
{
    KeyCheck attempt = readStored();
    compare(attempt, typed);
    const Check result = finish(attempt, unlock);
    if (result == Check::Unreadable)
        *error = attempt.error;
    return result;
}

QString storedForm(const QString &password, bool encrypted, QString *error)
{
    if (!encrypted)
        return password;
    if (!StoreKey::isInstalled()) {
        *error = tr("the store is locked");
        return QString();
    }
    const QString envelope = KeyEnvelope::wrap(StoreKey::current(), password);
    if (envelope.isEmpty())
        *error = tr("there is not enough memory to derive the key");
    return envelope;
}

bool storePassword(const QString &stored, QString *error)
{
    if (SettingsRow::setPassword(stored))
        return true;
    *error = SettingsRow::lastError();
    return false;
}

bool setPassword(const QString &password, QString *error)
{
    const bool encrypted = isEncrypted();
    const QString stored = storedForm(password, encrypted, error);
    return (!encrypted || !stored.isEmpty()) && storePassword(stored, error);
}

NewKey newKey(const QString &password)
{
    NewKey made {DataKey::random(), QString()};
    if (!made.key.isEmpty())
        made.envelope = KeyEnvelope::wrap(made.key, password);
    return made;
}

bool encrypt(const QString &password, const std::function<void(int, int)> &progress, bool *compacted, QString *error)
{
    return encrypt(newKey(password), progress, compacted, error);
}

bool encrypt(NewKey made, const std::function<void(int, int)> &progress, bool *compacted, QString *error)
{
    *compacted = false;
    const std::optional<QString> stored = SettingsRow::password();
    if (!stored) {
        *error = SettingsRow::lastError();
        return false;
    }
    if (KeyEnvelope::isEnvelope(*stored)) {
        *error = tr("the store is encrypted already");
        return false;
    }
    DataKey key = std::move(made.key);
    const QString envelope = made.envelope;
    if (key.isEmpty() || envelope.isEmpty()) {
        *error = tr("there is not enough memory to derive the key");
        return false;
    }

    QSqlDatabase store = QSqlDatabase::database();
    QSqlQuery query;
    // Freed pages are overwritten with zeros, so the plain texts that the
    // sealed ones replace do not stay behind in the file.
    if (!query.exec(QStringLiteral("PRAGMA secure_delete = ON")))
        return fail(query, error);
    const int total = rowTotal();
    // Every text is about to change: the index would follow each one through
    // its triggers, and would then hold the sealed forms.
    CardTextIndex::instance().forget();
    if (!store.transaction()) {
        *error = store.lastError().text();
        return false;
    }
    int done = 0;
    bool ok = true;
    for (const TextTable &table : textTables()) {
        if (!(ok = sealTable(table, key, done, total, progress, error)))
            break;
    }
    if (ok) {
        query.prepare(QStringLiteral("update option set password = ? where id = 1"));
        query.addBindValue(envelope);
        ok = query.exec() && query.numRowsAffected() == 1;
        if (!ok)
            *error = query.lastError().isValid() ? query.lastError().text() : tr("the store has no settings row");
    }
    if (ok && !store.commit()) {
        *error = store.lastError().text();
        ok = false;
    }
    if (!ok) {
        store.rollback();
        return false;
    }
    StoreKey::install(std::move(key));
    // What the pages held before the transaction can still sit in unused
    // parts of the file; a rewrite leaves only the live, sealed rows.
    *compacted = query.exec(QStringLiteral("VACUUM"));
    return true;
}

} // namespace StoreEncryption
