#ifndef TRANSFEROUTCOME_H
#define TRANSFEROUTCOME_H

#include <QCoreApplication>
#include <QString>

// How an export of the store or an import of another store ended, and what
// the user is told of it.
class TransferOutcome
{
    Q_DECLARE_TR_FUNCTIONS(TransferOutcome)

public:
    enum class Kind {
        Done,
        // The user did not give the password.
        Cancelled,
        // Export: the chosen file is the open store.
        OpenStoreItself,
        // Export: the copy could not be written.
        ExportFailed,
        // Import of the open store itself: its copy could not be made.
        NoTemporaryCopy,
        // The other file: the driver could not open it at all.
        CannotOpen,
        // The other file: another program's lock keeps it from being read.
        Locked,
        // The other file: views or triggers in place of a store's tables.
        NotPlain,
        // The other file: SQLite's check failed.
        Damaged,
        // The other file: no tables of categories, cards and lines.
        NoStore,
        // The other file: its encryption key cannot be read.
        KeyDamaged,
        WrongPassword,
        // The other file could not be read while it was copied.
        Unreadable,
        // The other file: ids that are no positive whole numbers, or too large once shifted.
        IdsDoNotFit,
        // The open store: another program's lock keeps it from being written.
        StoreInUse,
        // The copy failed for another reason, told in `detail`.
        ImportFailed,
    };

    TransferOutcome(Kind kind = Kind::Done, const QString &detail = QString())
        : kind(kind)
        , detail(detail)
    { }

    // The words the user reads, about the file chosen (`fileName`); empty
    // for Done and Cancelled. The driver's own words, where there are some,
    // stay in `detail` (but for a file the driver cannot open at all, where
    // they are all there is, and a copy that failed for no reason of its own).
    QString message(const QString &fileName) const;

    Kind kind;
    QString detail;
};

#endif
