#include "releaseinstall.h"

#include "disksync.h"
#include "programfiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#endif

std::optional<ReleaseInstall::Interruption> ReleaseInstall::interruption;

namespace {

const char *const journalName = "Nimbrel.install";

QString keptName(const QString &name)
{
    return name + QStringLiteral(".old");
}

// Puts from in place of to in one step: if that fails, to stays as it was.
// A link at from is moved itself, never followed.
bool replaceFile(const QString &from, const QString &to, QString *error)
{
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const QString why = qt_error_string(static_cast<int>(GetLastError()));
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    const QString why = qt_error_string(errno);
#endif
    if (error)
        *error = QDir::toNativeSeparators(to) + QStringLiteral(": ") + why;
    return false;
}

bool exists(const QString &path)
{
    // A link counts as there, wherever it points.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

} // namespace

ReleaseInstall::ReleaseInstall(const QString &programDir)
    : dir(programDir)
{ }

QString ReleaseInstall::path(const QString &name) const
{
    return QDir(dir).filePath(name);
}

QString ReleaseInstall::downloadPath(const QString &name) const
{
    return path(downloadName(name));
}

QFileDevice::Permissions ReleaseInstall::downloadPermissions(const QString &name) const
{
    QFileDevice::Permissions permissions = QFile::permissions(path(name));
    if (!permissions)
        permissions =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (name != ProgramFiles::translationName()) {
        permissions |= QFileDevice::ExeOwner;
        if (permissions & QFileDevice::ReadGroup)
            permissions |= QFileDevice::ExeGroup;
        if (permissions & QFileDevice::ReadOther)
            permissions |= QFileDevice::ExeOther;
    }
    return permissions;
}

bool ReleaseInstall::writeJournal(const QByteArray &text, QString *error)
{
    const QString fresh = downloadPath(QString::fromLatin1(journalName));
    QFile::remove(fresh);
    QFile journal(fresh);
    if (!journal.open(QIODevice::WriteOnly | QIODevice::NewOnly) || journal.write(text) != text.size()
        || !DiskSync::syncFile(journal)) {
        if (error)
            *error = QDir::toNativeSeparators(fresh) + QStringLiteral(": ") + journal.errorString();
        journal.close();
        QFile::remove(fresh);
        return false;
    }
    journal.close();
    return replaceFile(fresh, path(QString::fromLatin1(journalName)), error);
}

bool ReleaseInstall::putInPlace(const QString &name, QString *error)
{
    const QString download = downloadPath(name);
    if (!exists(download))
        return true; // in place already
    const QString installed = path(name);
    // Renamed aside, not copied: the running updater may be renamed, never replaced, on Windows.
    if (exists(installed) && !exists(path(keptName(name))) && !replaceFile(installed, path(keptName(name)), error))
        return false;
    return replaceFile(download, installed, error);
}

bool ReleaseInstall::install(const ReleaseDescription &release, QString *error)
{
    for (const ReleaseDescription::File &file : release.files) {
        const QString kept = path(keptName(file.name));
        if (exists(kept) && !QFile::remove(kept)) {
            if (error)
                *error = QCoreApplication::translate("ReleaseInstall", "%1 is in the way")
                             .arg(QDir::toNativeSeparators(kept));
            return false;
        }
    }
    if (!writeJournal(release.text(), error))
        return false;
    DiskSync::syncDir(dir);
    int done = 0;
    for (const ReleaseDescription::File &file : release.files) {
        const bool interrupted = interruption && done++ == interruption->afterFiles;
        if (interrupted && interruption->crash)
            return true;
        if (interrupted && error)
            *error = QDir::toNativeSeparators(path(file.name)) + QStringLiteral(": ") + qt_error_string(EIO);
        if (interrupted || !putInPlace(file.name, error)) {
            undo();
            return false;
        }
    }
    DiskSync::syncDir(dir);
    // From here on the new release is the installed one.
    QFile::remove(path(QString::fromLatin1(journalName)));
    DiskSync::syncDir(dir);
    removeLeftovers();
    return true;
}

bool ReleaseInstall::matches(const ReleaseDescription::File &file) const
{
    QFile download(downloadPath(file.name));
    if (QFileInfo(download.fileName()).isSymLink() || download.size() != file.size
        || !download.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&download);
    return hash.result().toHex() == file.sha256;
}

void ReleaseInstall::undo()
{
    for (const QString &name : ReleaseDescription::fileNames()) {
        const QString installed = path(name);
        if (exists(path(keptName(name))))
            replaceFile(path(keptName(name)), installed, nullptr);
        else if (!exists(downloadPath(name)))
            QFile::remove(installed); // there was none before
    }
    QFile::remove(path(QString::fromLatin1(journalName)));
    DiskSync::syncDir(dir);
    removeLeftovers();
}

bool ReleaseInstall::recover()
{
    QFile journal(path(QString::fromLatin1(journalName)));
    if (!journal.exists()) {
        removeLeftovers();
        return false;
    }
    const std::optional<ReleaseDescription> release = journal.open(QIODevice::ReadOnly)
        ? ReleaseDescription::parse(journal.read(ReleaseDescription::longestText))
        : std::nullopt;
    journal.close();
    bool canFinish = release.has_value();
    for (int i = 0; canFinish && i < release->files.size(); ++i) {
        const ReleaseDescription::File &file = release->files.at(i);
        canFinish = !exists(downloadPath(file.name)) || matches(file);
    }
    if (canFinish) {
        for (const ReleaseDescription::File &file : release->files) {
            if (!putInPlace(file.name, nullptr)) {
                canFinish = false;
                break;
            }
        }
    }
    if (!canFinish) {
        undo();
    } else {
        DiskSync::syncDir(dir);
        journal.remove();
        DiskSync::syncDir(dir);
        removeLeftovers();
    }
    return !journal.exists();
}

void ReleaseInstall::removeDownloads()
{
    for (const QString &name :
         ReleaseDescription::fileNames() + QStringList {ProgramFiles::descriptionName(), ProgramFiles::signatureName()})
        QFile::remove(downloadPath(name));
}

void ReleaseInstall::removeLeftovers()
{
    removeDownloads();
    QFile::remove(downloadPath(QString::fromLatin1(journalName)));
    for (const QString &name : ReleaseDescription::fileNames())
        QFile::remove(path(keptName(name)));
}
