#ifndef MODELREAD_H
#define MODELREAD_H

#include <QString>

class QSqlDatabase;
class QSqlTableModel;

// Reading a table model again without ever leaving it empty. A select that
// fails (another program holds the store) drops the model's rows and its
// columns, after which every write fails with "No Fields to update". So the
// store is asked first; when it cannot be read, the model keeps what it shows
// and is marked stale until a later read succeeds.
namespace ModelRead {

// Reads the model again. When the store cannot be read, the model keeps its
// rows, is marked stale, and false is returned with the driver's text.
bool select(QSqlTableModel *model, QString *error = nullptr);

// The same with a new filter. A model that has been read reads itself again
// as soon as its filter changes, so the store is asked before; when it cannot
// be read, the filter waits for the next successful read.
bool select(QSqlTableModel *model, const QString &filter, QString *error = nullptr);

// True when the store answers a read of `table`, as a select would; false
// with the driver's text when another program holds it.
bool canRead(const QSqlDatabase &db, const QString &table, QString *error = nullptr);

// True when the last read failed: the rows shown may no longer be stored.
bool isStale(const QSqlTableModel *model);

} // namespace ModelRead

#endif
