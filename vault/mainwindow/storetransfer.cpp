// Export of the store file and import of another store.
#include "mainwindow/mainwindow.h"

#include "mainwindow/importlogin.h"
#include "store/cardstore.h"
#include "store/modelread.h"
#include "store/otherstore.h"
#include "store/storefile.h"
#include "store/storeimport.h"
#include "widgets/tablesupport.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QSqlRelationalTableModel>
#include <QTemporaryDir>

QString MainWindow::chooseTransferFile(const QString &caption, bool forSaving)
{
    if (transferFileName)
        return transferFileName(caption);
    const QString filter = tr("Database File (*.db)");
    return forSaving ? QFileDialog::getSaveFileName(this, caption, QString(), filter)
                     : QFileDialog::getOpenFileName(this, caption, QString(), filter);
}

void MainWindow::exportCard()
{
    const QString target = chooseTransferFile(tr("Export Database"), true);
    if (target.isEmpty() || !savePendingEdits())
        return;
    const QString store = storeFilePath();
    if (StoreFile::isSameFile(target, store)) {
        QMessageBox::warning(this, tr("Export Database"),
                             tr("%1 is the open store itself. Choose another file name.")
                                 .arg(QDir::toNativeSeparators(target)),
                             QMessageBox::Ok);
        return;
    }
    QString error;
    if (!StoreFile::writeCopy(store, target, &error)) {
        QMessageBox::warning(this, tr("Export Database"),
                             tr("The store could not be exported to %1:\n%2\n\n"
                                "A file that was there before is unchanged.")
                                 .arg(QDir::toNativeSeparators(target), error),
                             QMessageBox::Ok);
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
            QMessageBox::warning(this, tr("Import Database"),
                                 tr("A temporary copy of the store could not be made:\n%1").arg(error),
                                 QMessageBox::Ok);
            return;
        }
    }

    const OtherStore other(source);
    if (!other.isOpen()) {
        QMessageBox::warning(nullptr, tr("Database Error"), other.error(), QMessageBox::Ok);
        return;
    }
    if (!other.holdsStore()) {
        QMessageBox::warning(this, tr("Import Database"),
                             tr("%1 is not a card store: it has no tables of categories, cards and lines. "
                                "Nothing was imported.")
                                 .arg(QDir::toNativeSeparators(chosen)),
                             QMessageBox::Ok);
        return;
    }
    const int categoryShift = getMaxId(QStringLiteral("category"));
    const int cardShift = getMaxId(QStringLiteral("card"));
    const int contentShift = getMaxId(QStringLiteral("content"));
    if (!other.idsFit(categoryShift, cardShift, contentShift)) {
        QMessageBox::warning(this, tr("Import Database"),
                             tr("%1 holds ids that are not positive whole numbers, or that would grow "
                                "too large beside the ids of this store. Nothing was imported.")
                                 .arg(QDir::toNativeSeparators(chosen)),
                             QMessageBox::Ok);
        return;
    }

    const QString expected = other.password();
    ImportLogin login(this);
    if (login.exec() != QDialog::Accepted)
        return;
    if (login.password() != expected) {
        QMessageBox::information(this, tr("Passowrd Input"), tr("Incorrect password of Import Database."),
                                 QMessageBox::Ok);
        return;
    }

    const StoreImport attachment(source);
    QString error = attachment.error();
    if (!attachment.isAttached()
        || !copyImportedRows(categoryShift, cardShift, contentShift, other.rowTotal(), error)) {
        QMessageBox::warning(this, tr("Import Database"),
                             tr("The import failed and nothing was imported:\n%1").arg(error), QMessageBox::Ok);
        return;
    }
    clearCategoryActions();
    loadCategoryActions();
    QString readError;
    if (!ModelRead::select(cardModel, &readError))
        TableSupport::reportReadError(this, readError);
}

bool MainWindow::copyImportedRows(int categoryShift, int cardShift, int contentShift, int rowTotal,
                                  QString &error)
{
    // A rollback would cut short the card table's unfinished read.
    TableSupport::fetchAll(cardModel);

    QProgressBar progressBar(this);
    progressBar.setRange(0, rowTotal);
    connect(this, &MainWindow::setProgressValue, &progressBar, &QProgressBar::setValue);
    progressBar.setGeometry(width() / 4, height() / 2, width() / 2, 30);
    progressBar.show();

    return StoreImport::copyAll(
        {[&](QString *stepError) { return insertCategoryRow(categoryShift, *stepError); },
         [&](QString *stepError) { return insertCardRow(cardShift, categoryShift, *stepError); },
         [&](QString *stepError) { return insertContentRow(contentShift, cardShift, *stepError); }},
        [this](int copied) { emit setProgressValue(copied); }, &error);
}

int MainWindow::insertCategoryRow(int categoryShift, QString &error)
{
    return StoreImport::copyCategories(categoryShift, &error);
}

int MainWindow::insertCardRow(int cardShift, int categoryShift, QString &error)
{
    return StoreImport::copyCards(cardShift, categoryShift, &error);
}

int MainWindow::insertContentRow(int contentShift, int cardShift, QString &error)
{
    return StoreImport::copyLines(contentShift, cardShift, &error);
}
