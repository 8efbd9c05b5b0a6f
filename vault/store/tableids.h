#ifndef TABLEIDS_H
#define TABLEIDS_H

#include <QString>
#include <QVariant>

class QSqlRecord;

// Ids of category, card and content are chosen by the program: the table's
// largest id plus one.
namespace TableIds {

// The bare largest id: 0 for an empty table or a failed query.
int maxId(const QString &table);

// The id for a new row: largest plus one; 0 when the query fails.
int nextId(const QString &table);

// Gives a record about to be inserted the next id of the table. The field is
// marked generated, or the INSERT would leave it out.
void assignNextId(QSqlRecord &record, const QString &table);

// Sets a field of a record so that an INSERT writes it.
void setField(QSqlRecord &record, const QString &name, const QVariant &value);

} // namespace TableIds

#endif
