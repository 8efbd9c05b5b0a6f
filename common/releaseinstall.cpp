#include "releaseinstall.h"

#include "disksync.h"

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

int ReleaseInstall::stopAfterFiles = -1;

namespace {

const char *const journalName = "Nimbrel.install";

QString keptName(const QString &name)
{
    return name + QStringLiteral(".old");
}

// Puts from in place of to in one step: if that fails, to stays as it was.
// A link at from is moved itself, never followed.
bool replaceFile(const QString &from, const QString &to, QString &failure)
{
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    failure = qt_error_string(static_cast<int>(GetLastError()));
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    failure = qt_error_string(errno);
#endif
    failure = QDir::toNativeSeparators(to) + QStringLiteral(": ") + failure;
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

bool ReleaseInstall::writeJournal(const QByteArray &text, QString &failure)
{
    const QString fresh = path(downloadName(QString::fromLatin1(journalName)));
    QFile::remove(fresh);
    QFile journal(fresh);
    if (!journal.open(QIODevice::WriteOnly | QIODevice::NewOnly) || journal.write(text) != text.size()
        || !DiskSync::syncFile(journal)) {
        failure = QDir::toNativeSeparators(fresh) + QStringLiteral(": ") + journal.errorString();
        journal.close();
        QFile::remove(fresh);
        return false;
    }
    journal.close();
    return replaceFile(fresh, path(QString::fromLatin1(journalName)), failure);
}

bool ReleaseInstall::putInPlace(const QString &name, QString &failure)
{
    const QString download = path(downloadName(name));
    if (!exists(download))
        return true; // in place already
    const QString installed = path(name);
    // Renamed aside, not copied: the running updater may be renamed, never replaced, on Windows.
    if (exists(installed) && !exists(path(keptName(name))) && !replaceFile(installed, path(keptName(name)), failure))
        return false;
    return replaceFile(download, installed, failure);
}

bool ReleaseInstall::install(const ReleaseDescription &release, QString &failure)
{
    for (const ReleaseDescription::File &file : release.files) {
        const QString kept = path(keptName(file.name));
        if (exists(kept) && !QFile::remove(kept)) {
            failure =
                QCoreApplication::translate("ReleaseInstall", "%1 is in the way").arg(QDir::toNativeSeparators(kept));
            return false;
        }
    }
    if (!writeJournal(release.text(), failure))
        return false;
    DiskSync::syncDir(dir);
    int done = 0;
    for (const ReleaseDescription::File &file : release.files) {
        if (done++ == stopAfterFiles)
            return true;
        if (!putInPlace(file.name, failure)) {
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
    QFile download(path(downloadName(file.name)));
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
        QString ignored;
        if (exists(path(keptName(name))))
            replaceFile(path(keptName(name)), installed, ignored);
        else if (!exists(path(downloadName(name))))
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
        canFinish = !exists(path(downloadName(file.name))) || matches(file);
    }
    QString failure;
    if (canFinish) {
        for (const ReleaseDescription::File &file : release->files) {
            if (!putInPlace(file.name, failure)) {
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

void ReleaseInstall::removeLeftovers()
{
    const QStringList names = ReleaseDescription::fileNames();
    for (const QString &name : names
             + QStringList {QStringLiteral("Nimbrel.txt"), QStringLiteral("Nimbrel.txt.sig"),
                            QString::fromLatin1(journalName)})
        QFile::remove(path(downloadName(name)));
    for (const QString &name : names)
        QFile::remove(path(keptName(name)));
}
