#ifndef STOREFILE_H
#define STOREFILE_H

#include <QString>

// Whole store files, as export and import move them.
namespace StoreFile {

// Whether both names lead to one file (links resolved).
bool isSameFile(const QString &first, const QString &second);

// Writes a complete copy under a temporary name beside the target and only
// then renames it over the target, so a failure leaves the old file alone.
bool writeCopy(const QString &source, const QString &target, QString *error);

// Writes a copy of the open store to `target` as writeCopy does, holding
// everything the store holds: a store that another tool switched to
// write-ahead logging keeps its latest rows beside the file, so they are
// brought into the file first, and the store is held against writers while
// it is copied. False, with the reason, when that cannot be done.
bool copyOpenStore(const QString &target, QString *error);

// Writes `data` the same way, into a file that only its owner can read,
// also where an older file could be read by others.
bool writePrivate(const QByteArray &data, const QString &target, QString *error);

} // namespace StoreFile

#endif
