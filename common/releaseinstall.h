#ifndef RELEASEINSTALL_H
#define RELEASEINSTALL_H

#include "releasedescription.h"

#include <QFileDevice>
#include <QString>
#include <optional>

// Puts the checked downloads of a release (each installed name followed by
// ".bak", synced to the disk) in place of the installed files so that a crash
// at any moment leaves a state the next start of either program repairs:
// the description is written to a journal first, each installed file is
// renamed aside (".old") before its download takes its name, and only
// removing the journal makes the new release the installed one. Whoever
// finds the journal finishes the install when every download still left
// matches it, and otherwise puts the old files back: either way a complete
// release stays, never a mixed one.
class ReleaseInstall
{
public:
    explicit ReleaseInstall(const QString &programDir);

    static QString downloadName(const QString &name) { return name + QStringLiteral(".bak"); }
    // Where the download of the named file of a release, or of its
    // description or signature, is written.
    QString downloadPath(const QString &name) const;
    // The permissions the download of the named file takes: those of the
    // installed file, executable for a program, so that the new file keeps
    // who may read and run it.
    QFileDevice::Permissions downloadPermissions(const QString &name) const;
    // True when the download of file is a file (no link) of the stated size
    // and hash: only the signed contents are installed.
    bool matches(const ReleaseDescription::File &file) const;

    // Installs the downloads of release in the order of its files, the
    // updater last. On failure the installed files are the old ones again
    // and *error says which file failed and why.
    bool install(const ReleaseDescription &release, QString *error);

    // Finishes or undoes an install that was interrupted, then removes every
    // leftover download and set-aside file. True when it found one and
    // finished or undid it, so that the files installed now may differ from
    // the running program.
    bool recover();

    // Removes the downloads of a release, its description and signature.
    void removeDownloads();

    // For tests: install() stops after this many files, as if killed there
    // (a crash) or as if the next replace failed.
    struct Interruption
    {
        int afterFiles = 0;
        bool crash = false;
    };
    static std::optional<Interruption> interruption;

private:
    QString path(const QString &name) const;
    bool writeJournal(const QByteArray &text, QString *error);
    bool putInPlace(const QString &name, QString *error);
    void undo();
    void removeLeftovers();

    QString dir;
};

#endif
