#ifndef STOREFILE_H
#define STOREFILE_H

#include "store/transferoutcome.h"

#include <QString>

// Whole store files, as export and import move them.
namespace StoreFile {

// Whether both names lead to one file (links resolved).
bool isSameFile(const QString &first, const QString &second);

// Writes a complete copy under a temporary name beside the target and only
// then renames it over the target, so a failure leaves the old file alone.
bool writeCopy(const QString &source, const QString &target, QString *error);

// Writes a copy of the open store to `target` as writeCopy does, holding
// everything the store holds, and never over the open store itself. A
// store of its own journal is copied byte for byte while a read holds off
// every writer. A store that another tool switched to write-ahead logging
// keeps its latest rows beside the file, and its writers go on while it is
// read, so SQLite writes a copy of one moment of it instead.
TransferOutcome copyOpenStore(const QString &target);

// Writes `data` the same way, into a file that only its owner can read,
// also where an older file could be read by others.
bool writePrivate(const QByteArray &data, const QString &target, QString *error);

} // namespace StoreFile

#endif
