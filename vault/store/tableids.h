#ifndef TABLEIDS_H
#define TABLEIDS_H

#include <QString>

// The largest ids of category, card and content, as the import shifts the
// ids it copies by them (a new row's id is its model's: StoreTableModel).
namespace TableIds {

// The bare largest id: 0 for an empty table or a failed query.
int maxId(const QString &table);

} // namespace TableIds

#endif
