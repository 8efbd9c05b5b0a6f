// Export of the store file and import of another store.
#include "mainwindow/mainwindow.h"

#include "access/busywork.h"
#include "mainwindow/importlogin.h"
#include "plaintext.h"
#include "store/storefile.h"
#include "store/storeimport.h"
#include "store/transferoutcome.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>

#include <memory>

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
    tellTransfer(StoreFile::copyOpenStore(target), target);
}

void MainWindow::importCard()
{
    const QString chosen = chooseTransferFile(tr("Import Database"), false);
    if (chosen.isEmpty() || !savePendingEdits())
        return;
    std::unique_ptr<QProgressBar> progressBar;
    const TransferOutcome outcome = StoreImport::importStore(
        chosen, [this]() { return askImportPassword(); },
        [&](int copied, int total) {
            if (!progressBar) {
                progressBar = std::make_unique<QProgressBar>(this);
                progressBar->setRange(0, total);
                connect(this, &MainWindow::setProgressValue, progressBar.get(), &QProgressBar::setValue);
                progressBar->setGeometry(width() / 4, height() / 2, width() / 2, 30);
                progressBar->show();
            } else {
                emit setProgressValue(copied);
            }
            // Painted between the slices without a return to the event loop,
            // so no click or key acts on the store in the middle of its import.
            repaint();
        },
        // Deriving the key of an encrypted store: off this thread.
        [this](const std::function<void()> &work) { BusyWork::run(this, work); });
    progressBar.reset();
    if (outcome.kind == TransferOutcome::Kind::Done) {
        clearCategoryActions();
        loadCategoryActions();
    }
    tellTransfer(outcome, chosen);
}

std::optional<QString> MainWindow::askImportPassword()
{
    ImportLogin login(this);
    if (login.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString typed = login.password();
    login.clearPassword();
    // The window manager takes the closed dialog away after it has
    // returned, and the window repaints that place only when told: both are
    // let happen before the import holds the event loop. No key or click is
    // taken meanwhile.
    QEventLoop settle;
    QTimer::singleShot(settleMs, &settle, &QEventLoop::quit);
    settle.exec(QEventLoop::ExcludeUserInputEvents);
    return typed;
}

void MainWindow::tellTransfer(const TransferOutcome &outcome, const QString &fileName)
{
    using Kind = TransferOutcome::Kind;
    const QString text = outcome.message(fileName);
    switch (outcome.kind) {
    case Kind::Done:
    case Kind::Cancelled:
        return;
    case Kind::OpenStoreItself:
    case Kind::ExportFailed:
        PlainText::tell(this, QMessageBox::Warning, tr("Export Database"), text);
        return;
    case Kind::CannotOpen:
        PlainText::tell(nullptr, QMessageBox::Warning, tr("Database Error"), text);
        return;
    case Kind::WrongPassword:
        PlainText::tell(this, QMessageBox::Information, tr("Passowrd Input"), text);
        return;
    case Kind::Locked:
    case Kind::NotPlain:
    case Kind::Damaged:
    case Kind::NoStore:
    case Kind::StoreInUse:
        PlainText::tell(this, QMessageBox::Warning, tr("Import Database"), text, QMessageBox::Ok, QMessageBox::NoButton,
                        outcome.detail);
        return;
    case Kind::NoTemporaryCopy:
    case Kind::KeyDamaged:
    case Kind::Unreadable:
    case Kind::IdsDoNotFit:
    case Kind::ImportFailed:
        PlainText::tell(this, QMessageBox::Warning, tr("Import Database"), text);
        return;
    }
}
