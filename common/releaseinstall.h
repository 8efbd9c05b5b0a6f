#ifndef RELEASEINSTALL_H
#define RELEASEINSTALL_H

#include "releasedescription.h"

#include <QString>

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

    // Installs the downloads of release in the order of its files, the
    // updater last. On failure the installed files are the old ones again.
    bool install(const ReleaseDescription &release, QString &failure);

    // Finishes or undoes an install that was interrupted, then removes every
    // leftover download and set-aside file. True when it found one and
    // finished or undid it, so that the files installed now may differ from
    // the running program.
    bool recover();

    // For tests: install() stops after this many files, as if killed there.
    static int stopAfterFiles;

private:
    QString path(const QString &name) const;
    bool writeJournal(const QByteArray &text, QString &failure);
    bool putInPlace(const QString &name, QString &failure);
    void undo();
    void removeLeftovers();
    bool matches(const ReleaseDescription::File &file) const;

    QString dir;
};

#endif
