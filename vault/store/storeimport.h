#ifndef STOREIMPORT_H
#define STOREIMPORT_H

#include "store/transferoutcome.h"

#include <QString>

#include <functional>
#include <optional>

// The import of another store file into the open store, all of it but the
// asking and the telling: the other file is checked before anything of it is
// read, its password asked through `askPassword` (no answer: Cancelled) and
// compared exactly, and its categories, cards and lines appended in one
// transaction with their ids shifted past the store's largest ones. All or
// nothing: unless the outcome is Done, the store is as it was.
//
// `progress` hears the rows copied and their total: (0, total) once the
// password is accepted and just before the copy starts, then after every
// slice of rows. Deriving the key of an encrypted store takes most of a
// second: it is handed to `runSlow`, which may run it on a worker thread and
// returns when it is done (it touches neither the store nor a widget).
namespace StoreImport {

using SlowWork = std::function<void(const std::function<void()> &work)>;

TransferOutcome importStore(
    const QString &fileName, const std::function<std::optional<QString>()> &askPassword,
    const std::function<void(int copied, int total)> &progress,
    const SlowWork &runSlow = [](const std::function<void()> &work) { work(); });

} // namespace StoreImport

#endif
