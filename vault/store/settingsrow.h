#ifndef SETTINGSROW_H
#define SETTINGSROW_H

#include <QString>
#include <optional>

// The single settings row (id 1) of table option. Reads take the first row of
// the table; an empty optional means the query failed or found no row.
// Writes return whether the statement succeeded.
namespace SettingsRow {

// Sentinel of language, lastlang and password: nothing chosen yet.
inline const QString none = QStringLiteral("none");
// Sentinel of category: the card table shows all cards.
constexpr int allCategories = -1;

std::optional<QString> language();
std::optional<QString> lastLang();
std::optional<int> category();
std::optional<QString> password();

bool setLanguage(const QString &code);
bool setLastLang(const QString &code);
bool setCategory(int categoryId);
bool setPassword(const QString &password);

// The text of the last failed read or write.
QString lastError();
// Whether that failure was another program's lock on the store.
bool lastErrorWasLock();

} // namespace SettingsRow

#endif
