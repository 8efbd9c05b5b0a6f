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
        if (out.write(chunk) != chunk.size()) {
            *error = out.errorString();
            return false;
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

bool bringLogIn(QSqlQuery &query, QString *error)
{
    if (!query.exec(QStringLiteral("PRAGMA journal_mode")) || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    if (query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return true;
    // The first column tells whether another connection kept the log from
    // being brought in completely.
    if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")) || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    if (query.value(0).toInt() != 0) {
        *error = QCoreApplication::translate("StoreFile", "another program is using the store");
        return false;
    }
    return true;
}

} // namespace

bool copyOpenStore(const QString &target, QString *error)
{
    QSqlDatabase store = QSqlDatabase::database();
    QSqlQuery query(store);
    if (!bringLogIn(query, error))
        return false;
    // A read holds off every writer until the copy is complete.
    if (!store.transaction() || !query.exec(QStringLiteral("select count(*) from sqlite_master")) || !query.next()) {
        *error = query.lastError().isValid() ? query.lastError().text() : store.lastError().text();
        waitNoLongerThisAction(query.lastError());
        store.rollback();
        return false;
    }
    query.finish();
    const bool copied = writeCopy(storeFilePath(), target, error);
    store.commit();
    return copied;
}

} // namespace StoreFile
