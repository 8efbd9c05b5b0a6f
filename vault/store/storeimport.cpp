#include "store/storeimport.h"

#include "store/attachedstore.h"
#include "store/cardstore.h"
#include "store/datakey.h"
#include "store/otherstore.h"
#include "store/storefile.h"
#include "store/tableids.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace StoreImport {

namespace {

using Kind = TransferOutcome::Kind;

// Appends the rows of the checked file `source` inside one transaction that
// holds the store for writing from its start.
TransferOutcome copyRows(const OtherStore &other, const QString &source, DataKey otherKey, int categoryShift,
                         int cardShift, int contentShift, const std::function<void(int, int)> &progress)
{
    const int rowTotal = other.rowTotal();
    progress(0, rowTotal);
    AttachedStore attached;
    attached.setTextKey(std::move(otherKey));
    QString error;
    if (attached.attach(source, &error)) {
        QSqlDatabase store = QSqlDatabase::database();
        QSqlQuery begin(store);
        // Taken now, another program's write lock is met before any row is copied.
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            waitNoLongerThisAction(begin.lastError());
            return {isLockError(begin.lastError()) ? Kind::StoreInUse : Kind::ImportFailed, begin.lastError().text()};
        }
        if (attached.copyImportedRows(
                categoryShift, cardShift, contentShift, rowTotal, [&](int copied) { progress(copied, rowTotal); },
                &error)) {
            if (store.commit())
                return {Kind::Done};
            error = store.lastError().text();
        }
        store.rollback();
        if (attached.foundDamage())
            return {Kind::Damaged, error};
    }
    // The copy refuses odd ids as it goes; only then are they looked for, to say so.
    const std::optional<bool> idsFit = other.idsFit(categoryShift, cardShift, contentShift);
    if (!idsFit)
        return {Kind::Unreadable, error};
    return {*idsFit ? Kind::ImportFailed : Kind::IdsDoNotFit, error};
}

} // namespace

TransferOutcome importStore(const QString &fileName, const std::function<std::optional<QString>()> &askPassword,
                            const std::function<void(int, int)> &progress, const SlowWork &runSlow)
{
    // This connection cannot read a file while it writes the same file, so
    // the open store itself is imported from a copy.
    QTemporaryDir copyDir;
    QString source = fileName;
    if (StoreFile::isSameFile(fileName, storeFilePath())) {
        source = copyDir.filePath(QStringLiteral("nimbrel.db"));
        QString error = copyDir.errorString();
        if (!copyDir.isValid() || !StoreFile::writeCopy(storeFilePath(), source, &error))
            return {Kind::NoTemporaryCopy, error};
    }

    OtherStore other;
    QString detail;
    if (!other.open(source, &detail))
        return {Kind::CannotOpen, detail};
    switch (other.check(&detail)) {
    case OtherStore::Kind::Store:
        break;
    case OtherStore::Kind::Locked:
        return {Kind::Locked, detail};
    case OtherStore::Kind::NotPlain:
        return {Kind::NotPlain, detail};
    case OtherStore::Kind::Damaged:
        return {Kind::Damaged, detail};
    case OtherStore::Kind::NoStore:
        return {Kind::NoStore, detail};
    }
    const int categoryShift = TableIds::maxId(QStringLiteral("category"));
    const int cardShift = TableIds::maxId(QStringLiteral("card"));
    const int contentShift = TableIds::maxId(QStringLiteral("content"));

    const std::optional<QString> typed = askPassword();
    if (!typed)
        return {Kind::Cancelled};
    DataKey otherKey;
    const QString expected = other.password();
    OtherStore::Password answer = OtherStore::Password::Refused;
    runSlow([&] { answer = OtherStore::checkPassword(expected, *typed, &otherKey); });
    switch (answer) {
    case OtherStore::Password::Accepted:
        break;
    case OtherStore::Password::Refused:
        return {Kind::WrongPassword};
    case OtherStore::Password::KeyDamaged:
        return {Kind::KeyDamaged};
    }
    return copyRows(other, source, std::move(otherKey), categoryShift, cardShift, contentShift, progress);
}

} // namespace StoreImport
