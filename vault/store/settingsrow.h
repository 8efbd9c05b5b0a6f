#ifndef SETTINGSROW_H
#define SETTINGSROW_H

#include <QString>
#include <optional>

// The single settings row (id 1) of table option. Reads take the first row of
// the table; an empty optional means the query failed or found no row.
// Writes return whether the row took the value. On failure `error` gets the
// reason in the user's words and `detail` the driver's; either may be null.
namespace SettingsRow {

// Sentinel of language, lastlang and password: nothing chosen yet.
inline const QString none = QStringLiteral("none");
// Sentinel of category: the card table shows all cards.
constexpr int allCategories = -1;

std::optional<QString> language(QString *error = nullptr, QString *detail = nullptr);
std::optional<QString> lastLang(QString *error = nullptr, QString *detail = nullptr);
std::optional<int> category(QString *error = nullptr, QString *detail = nullptr);
std::optional<QString> password(QString *error = nullptr, QString *detail = nullptr);

bool setLanguage(const QString &code, QString *error = nullptr, QString *detail = nullptr);
bool setLastLang(const QString &code, QString *error = nullptr, QString *detail = nullptr);
bool setCategory(int categoryId, QString *error = nullptr, QString *detail = nullptr);
bool setPassword(const QString &password, QString *error = nullptr, QString *detail = nullptr);

} // namespace SettingsRow

#endif
