#ifndef SETTINGTABLE_H
#define SETTINGTABLE_H

#include <QString>

#include <optional>

// Settings beyond the settings row, by name, in a table of their own
// (setting(name, value)) that is made at the first write; the five tables
// stay as they are.
namespace SettingTable {

// The stored value; empty when none is stored or the store cannot be read.
std::optional<QString> value(const QString &name);

// Stores the value in one write; false with the driver's text in `error`.
bool setValue(const QString &name, const QString &value, QString *error);

} // namespace SettingTable

#endif
