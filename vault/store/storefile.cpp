#include "store/storefile.h"

#include "store/cardstore.h"
#include "store/privatefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <filesystem>
#include <system_error>

namespace StoreFile {

bool isSameFile(const QString &first, const QString &second)
{
    std::error_code error;
    return std::filesystem::equivalent(QFileInfo(first).filesystemFilePath(), QFileInfo(second).filesystemFilePath(),
                                       error);
}

bool writeCopy(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    // A copy holds everything the store holds: only the user may read it,
    // whatever the file it replaces allowed.
    QSaveFile out(target);
    {
        const PrivateFile::OwnerOnly ownerOnly;
        if (!out.open(QIODevice::WriteOnly)) {
            *error = out.errorString();
            return false;
        }
    }
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            return false;
        }
        if (chunk.isEmpty())
            break;
        // A short write is followed by the one that tells why the rest did not go.
        for (qint64 written = 0; written < chunk.size();) {
            const qint64 count = out.write(chunk.constData() + written, chunk.size() - written);
            if (count <= 0) {
                *error = out.errorString();
                return false;
            }
            written += count;
        }
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

bool writePrivate(const QByteArray &data, const QString &target, QString *error)
{
    QSaveFile out(target);
    // The temporary file takes the older file's permissions; these replace them before any byte is written.
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
        || out.write(data) != data.size() || !out.commit()) {
        *error = out.errorString();
        out.cancelWriting();
        return false;
    }
    return true;
}

namespace {

bool failed(const QSqlQuery &query, const QSqlDatabase &store, QString *error)
{
    *error = query.lastError().isValid() ? query.lastError().text() : store.lastError().text();
    return false;
}

// Holds a read of the store for the copy: no writer of a rollback-journal
// store commits before it ends. `wal` tells a store whose writers go on.
bool beginRead(QSqlDatabase &store, bool *wal, QString *error)
{
    QSqlQuery query(store);
    if (!store.transaction() || !query.exec(QStringLiteral("select count(*) from sqlite_master")) || !query.next()
        || !query.exec(QStringLiteral("PRAGMA journal_mode")) || !query.next()) {
        failed(query, store, error);
        waitNoLongerThisAction(query.lastError());
        store.rollback();
        return false;
    }
    *wal = query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
    return true;
}

// One moment of the store, written by SQLite into a folder beside the
// target (so the copy stays on the same disk), then put in place.
bool copySnapshot(const QSqlDatabase &store, const QString &target, QString *error)
{
    QTemporaryDir dir(QFileInfo(target).absolutePath() + QLatin1String("/.nimbrel-export-XXXXXX"));
    if (!dir.isValid()) {
        *error = dir.errorString();
        return false;
    }
    const QString snapshot = dir.filePath(QStringLiteral("nimbrel.db"));
    QSqlQuery query(store);
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(snapshot);
    bool made = false;
    {
        const PrivateFile::OwnerOnly ownerOnly;
        made = query.exec();
    }
    if (!made)
        return failed(query, store, error);
    return writeCopy(snapshot, target, error);
}

} // namespace

TransferOutcome copyOpenStore(const QString &target)
{
    using Kind = TransferOutcome::Kind;
    if (isSameFile(target, storeFilePath()))
        return {Kind::OpenStoreItself};
    QSqlDatabase store = QSqlDatabase::database();
    QString error;
    bool wal = false;
    if (!beginRead(store, &wal, &error))
        return {Kind::ExportFailed, error};
    bool copied = true;
    if (!wal)
        copied = writeCopy(storeFilePath(), target, &error);
    store.commit();
    // VACUUM INTO reads one moment of the store in a transaction of its own.
    if (wal)
        copied = copySnapshot(store, target, &error);
    return copied ? TransferOutcome() : TransferOutcome(Kind::ExportFailed, error);
}

} // namespace StoreFile
