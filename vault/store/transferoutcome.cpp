#include "store/transferoutcome.h"

#include <QDir>

QString TransferOutcome::message(const QString &fileName) const
{
    const QString file = QDir::toNativeSeparators(fileName);
    switch (kind) {
    case Kind::Done:
    case Kind::Cancelled:
        return QString();
    case Kind::OpenStoreItself:
        return tr("%1 is the open store itself. Choose another file name.").arg(file);
    case Kind::ExportFailed:
        return tr("The store could not be exported to %1:\n%2\n\n"
                  "A file that was there before is unchanged.")
            .arg(file, detail);
    case Kind::NoTemporaryCopy:
        return tr("A temporary copy of the store could not be made:\n%1").arg(detail);
    case Kind::CannotOpen:
        return detail;
    case Kind::Locked:
        return tr("%1 is in use by another program and cannot be read. Nothing was imported. "
                  "Try again when that program has let go of it.")
            .arg(file);
    case Kind::NotPlain:
        return tr("%1 holds views or triggers where a card store holds only its tables. "
                  "It was not read, and nothing was imported.")
            .arg(file);
    case Kind::Damaged:
    case Kind::Unreadable:
        return tr("%1 is damaged or cannot be read. Nothing was imported.").arg(file);
    case Kind::NoStore:
        return tr("%1 is not a card store: it has no tables of categories, cards and lines. "
                  "Nothing was imported.")
            .arg(file);
    case Kind::KeyDamaged:
        return tr("The key of %1 is damaged, so its cards cannot be read. Nothing was imported.").arg(file);
    case Kind::WrongPassword:
        return tr("Incorrect password of Import Database.");
    case Kind::IdsDoNotFit:
        return tr("%1 holds ids that are not positive whole numbers, or that would grow "
                  "too large beside the ids of this store. Nothing was imported.")
            .arg(file);
    case Kind::StoreInUse:
        return tr("The store is in use by another program, so nothing was imported. "
                  "Try again when that program has let go of it.");
    case Kind::ImportFailed:
        return tr("The import failed and nothing was imported:\n%1").arg(detail);
    }
    return QString();
}
