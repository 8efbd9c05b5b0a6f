#include "store/settingsrow.h"

#include "store/cardstore.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace SettingsRow {

namespace {

void tell(QString *error, const QString &text, QString *detail, const QString &driverText)
{
    if (error)
        *error = text;
    if (detail)
        *detail = driverText;
}

// A refused statement: another program's lock is a wait, anything else the
// store's own refusal.
void tellRefused(const QSqlQuery &query, const QString &refused, QString *error, QString *detail)
{
    const QSqlError failure = query.lastError();
    waitNoLongerThisAction(failure);
    tell(error, isLockError(failure) ? storeInUseText() : refused, detail, failure.text());
}

// Shown inside the messages of the windows, so it speaks their language.
QString noRowText()
{
    return QCoreApplication::translate("SettingsRow", "The store has no settings row; it may be damaged.");
}

std::optional<QVariant> read(const QString &statement, QString *error, QString *detail)
{
    QSqlQuery query;
    if (!query.exec(statement)) {
        tellRefused(query, QCoreApplication::translate("SettingsRow", "The settings could not be read from the store."),
                    error, detail);
        return std::nullopt;
    }
    if (!query.next()) {
        tell(error, noRowText(), detail, QString());
        return std::nullopt;
    }
    return query.value(0);
}

std::optional<QString> readText(const QString &statement, QString *error, QString *detail)
{
    const std::optional<QVariant> value = read(statement, error, detail);
    if (!value)
        return std::nullopt;
    // An empty text is a value of its own; never hand back a null string for it.
    return value->toString().isNull() ? QStringLiteral("") : value->toString();
}

bool write(const QString &statement, const QVariant &value, QString *error, QString *detail)
{
    QSqlQuery query;
    query.prepare(statement);
    query.addBindValue(value);
    if (!query.exec()) {
        tellRefused(query, QCoreApplication::translate("SettingsRow", "The store refused the change."), error, detail);
        return false;
    }
    if (query.numRowsAffected() == 1)
        return true;
    tell(error, noRowText(), detail, QString());
    return false;
}

} // namespace

std::optional<QString> language(QString *error, QString *detail)
{
    return readText(QStringLiteral("select language from option"), error, detail);
}

std::optional<QString> lastLang(QString *error, QString *detail)
{
    return readText(QStringLiteral("select lastlang from option"), error, detail);
}

std::optional<int> category(QString *error, QString *detail)
{
    const std::optional<QVariant> value = read(QStringLiteral("select category from option"), error, detail);
    if (!value)
        return std::nullopt;
    return value->toInt();
}

std::optional<QString> password(QString *error, QString *detail)
{
    return readText(QStringLiteral("select password from option"), error, detail);
}

bool setLanguage(const QString &code, QString *error, QString *detail)
{
    return write(QStringLiteral("update option set language = ? where id = 1"), code, error, detail);
}

bool setLastLang(const QString &code, QString *error, QString *detail)
{
    return write(QStringLiteral("update option set lastlang = ? where id = 1"), code, error, detail);
}

bool setCategory(int categoryId, QString *error, QString *detail)
{
    return write(QStringLiteral("update option set category = ? where id = 1"), categoryId, error, detail);
}

bool setPassword(const QString &password, QString *error, QString *detail)
{
    // Bound as text: an empty entry is stored as '' and never as NULL.
    return write(QStringLiteral("update option set password = ? where id = 1"),
                 QVariant(password.isNull() ? QStringLiteral("") : password), error, detail);
}

} // namespace SettingsRow
