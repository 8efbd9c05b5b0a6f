#include "store/settingsrow.h"

#include "store/cardstore.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace SettingsRow {

namespace {

QString &errorText()
{
    static QString text;
    return text;
}

bool &errorWasLock()
{
    static bool lock = false;
    return lock;
}

void noteError(const QSqlError &error)
{
    errorText() = error.text();
    errorWasLock() = isLockError(error);
}

// Shown inside the messages of the windows, so it speaks their language.
QString noRowText()
{
    return QCoreApplication::translate("SettingsRow", "no settings row");
}

std::optional<QVariant> read(const QString &statement)
{
    QSqlQuery query;
    if (!query.exec(statement)) {
        noteError(query.lastError());
        return std::nullopt;
    }
    if (!query.next()) {
        errorText() = noRowText();
        errorWasLock() = false;
        return std::nullopt;
    }
    return query.value(0);
}

std::optional<QString> readText(const QString &statement)
{
    const std::optional<QVariant> value = read(statement);
    if (!value)
        return std::nullopt;
    // An empty text is a value of its own; never hand back a null string for it.
    return value->toString().isNull() ? QStringLiteral("") : value->toString();
}

bool write(const QString &statement, const QVariant &value)
{
    QSqlQuery query;
    query.prepare(statement);
    query.addBindValue(value);
    if (query.exec() && query.numRowsAffected() == 1)
        return true;
    noteError(query.lastError());
    if (!query.lastError().isValid())
        errorText() = noRowText();
    return false;
}

} // namespace

std::optional<QString> language()
{
    return readText(QStringLiteral("select language from option"));
}

std::optional<QString> lastLang()
{
    return readText(QStringLiteral("select lastlang from option"));
}

std::optional<int> category()
{
    const std::optional<QVariant> value = read(QStringLiteral("select category from option"));
    if (!value)
        return std::nullopt;
    return value->toInt();
}

std::optional<QString> password()
{
    return readText(QStringLiteral("select password from option"));
}

bool setLanguage(const QString &code)
{
    return write(QStringLiteral("update option set language = ? where id = 1"), code);
}

bool setLastLang(const QString &code)
{
    return write(QStringLiteral("update option set lastlang = ? where id = 1"), code);
}

bool setCategory(int categoryId)
{
    return write(QStringLiteral("update option set category = ? where id = 1"), categoryId);
}

bool setPassword(const QString &password)
{
    // Bound as text: an empty entry is stored as '' and never as NULL.
    return write(QStringLiteral("update option set password = ? where id = 1"),
                 QVariant(password.isNull() ? QStringLiteral("") : password));
}

bool lastErrorWasLock()
{
    return errorWasLock();
}

QString lastError()
{
    return errorText();
}

} // namespace SettingsRow
