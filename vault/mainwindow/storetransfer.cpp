// Export of the store file and import of another store.
#include "mainwindow/mainwindow.h"

#include "access/busywork.h"
#include "mainwindow/importlogin.h"
#include "store/cardstore.h"
#include "store/datakey.h"
#include "store/otherstore.h"
#include "store/storefile.h"
#include "store/storeimport.h"
#include "plaintext.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Long enough for the window manager to answer on a loaded machine.
constexpr int settleMs = 150;

} // namespace

QString MainWindow::chooseTransferFile(const QString &caption, bool forSaving, const QString &fileFilter)
{
    if (transferFileName)
        return transferFileName(caption);
    const QString filter = fileFilter.isEmpty() ? tr("Database File (*.db)") : fileFilter;
    if (!forSaving)
        return QFileDialog::getOpenFileName(this, caption, QString(), filter);
    // The dialog adds the suffix itself, so that it asks before replacing
    // the file of the full name.
    QFileDialog dialog(this, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(fileFilter.isEmpty() ? QStringLiteral("db") : QStringLiteral("csv"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void MainWindow::exportCard()
{
    QString target = chooseTransferFile(tr("Export Database"), true);
    if (target.isEmpty() || !savePendingEdits())
        return;
    // The import offers "*.db" files only; a name without a suffix would be hidden there.
    if (QFileInfo(target).suffix().isEmpty())
        target += QLatin1String(".db");
    const QString store = storeFilePath();
    if (StoreFile::isSameFile(target, store)) {
        PlainText::tell(
            this, QMessageBox::Warning, tr("Export Database"),
            tr("%1 is the open store itself. Choose another file name.").arg(QDir::toNativeSeparators(target)));
        return;
    }
    QString error;
    if (!StoreFile::copyOpenStore(target, &error)) {
        PlainText::tell(this, QMessageBox::Warning, tr("Export Database"),
                        tr("The store could not be exported to %1:\n%2\n\n"
                           "A file that was there before is unchanged.")
                            .arg(QDir::toNativeSeparators(target), error));
    }
}

void MainWindow::importCard()
{
    const QString chosen = chooseTransferFile(tr("Import Database"), false);
    if (chosen.isEmpty() || !savePendingEdits())
        return;

    // This connection cannot read a file while it writes the same file, so
    // the open store itself is imported from a copy.
    QTemporaryDir copyDir;
    QString source = chosen;
    if (StoreFile::isSameFile(chosen, storeFilePath())) {
        source = copyDir.filePath(QStringLiteral("nimbrel.db"));
        QString error = copyDir.errorString();
        if (!copyDir.isValid() || !StoreFile::writeCopy(storeFilePath(), source, &error)) {
            PlainText::tell(this, QMessageBox::Warning, tr("Import Database"),
                            tr("A temporary copy of the store could not be made:\n%1").arg(error));
            return;
        }
    }

    const OtherStore other(source);
    if (!other.isOpen()) {
        PlainText::tell(nullptr, QMessageBox::Warning, tr("Database Error"), other.error());
        return;
    }
    QString detail;
    const OtherStore::Kind kind = other.check(&detail);
    if (kind != OtherStore::Kind::Store) {
        const QString file = QDir::toNativeSeparators(chosen);
        QString text;
        switch (kind) {
        case OtherStore::Kind::Locked:
            text = tr("%1 is in use by another program and cannot be read. Nothing was imported. "
                      "Try again when that program has let go of it.")
                       .arg(file);
            break;
        case OtherStore::Kind::NotPlain:
            text = tr("%1 holds views or triggers where a card store holds only its tables. "
                      "It was not read, and nothing was imported.")
                       .arg(file);
            break;
        case OtherStore::Kind::Damaged:
            text = tr("%1 is damaged or cannot be read. Nothing was imported.").arg(file);
            break;
        default:
            text = tr("%1 is not a card store: it has no tables of categories, cards and lines. "
                      "Nothing was imported.")
                       .arg(file);
        }
        PlainText::tell(this, QMessageBox::Warning, tr("Import Database"), text, QMessageBox::Ok, QMessageBox::NoButton,
                        detail);
        return;
    }
    const int categoryShift = getMaxId(QStringLiteral("category"));
    const int cardShift = getMaxId(QStringLiteral("card"));
    const int contentShift = getMaxId(QStringLiteral("content"));

    ImportLogin login(this);
    if (login.exec() != QDialog::Accepted)
        return;
    // Deriving the key of an encrypted store takes most of a second: off this thread.
    DataKey otherKey;
    bool damaged = false;
    bool accepted = false;
    const QString expected = other.password();
    const QString typed = login.password();
    BusyWork::run(this, [&] { accepted = OtherStore::acceptsPassword(expected, typed, &otherKey, &damaged); });
    login.clearPassword();
    if (damaged) {
        PlainText::tell(this, QMessageBox::Warning, tr("Import Database"),
                        tr("The key of %1 is damaged, so its cards cannot be read. Nothing was imported.")
                            .arg(QDir::toNativeSeparators(chosen)));
        return;
    }
    if (!accepted) {
        QMessageBox::information(this, tr("Passowrd Input"), tr("Incorrect password of Import Database."),
                                 QMessageBox::Ok);
        return;
    }

    // The window manager takes the closed dialog away after it has
    // returned, and the window repaints that place only when told: both are
    // let happen before the copy holds the event loop. No key or click is
    // taken meanwhile.
    QEventLoop settle;
    QTimer::singleShot(settleMs, &settle, &QEventLoop::quit);
    settle.exec(QEventLoop::ExcludeUserInputEvents);

    StoreImport attachment(source);
    attachment.setTextKey(std::move(otherKey));
    QString error = attachment.error();
    if (!attachment.isAttached()
        || !copyImportedRows(categoryShift, cardShift, contentShift, other.rowTotal(), error)) {
        // The copy refuses odd ids as it goes; only then are they looked for, to say so.
        const std::optional<bool> idsFit = other.idsFit(categoryShift, cardShift, contentShift);
        const QString file = QDir::toNativeSeparators(chosen);
        PlainText::tell(this, QMessageBox::Warning, tr("Import Database"),
                        !idsFit       ? tr("%1 is damaged or cannot be read. Nothing was imported.").arg(file)
                            : *idsFit ? tr("The import failed and nothing was imported:\n%1").arg(error)
                                      : tr("%1 holds ids that are not positive whole numbers, or that would grow "
                                           "too large beside the ids of this store. Nothing was imported.")
                                            .arg(file));
        return;
    }
    clearCategoryActions();
    loadCategoryActions();
}

bool MainWindow::copyImportedRows(int categoryShift, int cardShift, int contentShift, int rowTotal, QString &error)
{
    QProgressBar progressBar(this);
    progressBar.setRange(0, rowTotal);
    connect(this, &MainWindow::setProgressValue, &progressBar, &QProgressBar::setValue);
    progressBar.setGeometry(width() / 4, height() / 2, width() / 2, 30);
    progressBar.show();
    // Painted between the slices without a return to the event loop, so no
    // click or key acts on the store in the middle of its import.
    repaint();

    return StoreImport::copyAll(
        {[&](qint64 &afterId, QString *stepError) { return insertCategoryRow(categoryShift, afterId, *stepError); },
         [&](qint64 &afterId, QString *stepError) {
             return insertCardRow(cardShift, categoryShift, afterId, *stepError);
         },
         [&](qint64 &afterId, QString *stepError) {
             return insertContentRow(contentShift, cardShift, afterId, *stepError);
         }},
        rowTotal,
        [this](int copied) {
            emit setProgressValue(copied);
            repaint();
        },
        &error);
}

int MainWindow::insertCategoryRow(int categoryShift, qint64 &afterId, QString &error)
{
    return StoreImport::copyCategories(categoryShift, afterId, &error);
}

int MainWindow::insertCardRow(int cardShift, int categoryShift, qint64 &afterId, QString &error)
{
    return StoreImport::copyCards(cardShift, categoryShift, afterId, &error);
}

int MainWindow::insertContentRow(int contentShift, int cardShift, qint64 &afterId, QString &error)
{
    return StoreImport::copyLines(contentShift, cardShift, afterId, &error);
}
