// Cards in and out of CSV files: exports of browsers and other password
// managers coming in, this program's own layout going out.
#include "mainwindow/mainwindow.h"

#include "mainwindow/csvpreview.h"
#include "mainwindow/importlogin.h"
#include "store/cardstore.h"
#include "store/csvcards.h"
#include "store/settingsrow.h"
#include "store/storeencryption.h"
#include "store/storetablemodel.h"
#include "store/storefile.h"
#include "plaintext.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>

namespace {

// The cards of the file, or false with what the user is to be told.
bool readCsv(const QString &fileName, QString *layoutName, QList<CsvCard> *cards, QString *message)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *message =
            MainWindow::tr("%1 could not be read:\n%2").arg(QDir::toNativeSeparators(fileName), file.errorString());
        return false;
    }
    QList<CsvFile::Row> rows;
    QString error;
    int line = 1;
    CsvLayout layout;
    bool ok = CsvFile::parse(file.readAll(), &rows, &error, &line);
    if (ok && rows.isEmpty()) {
        error = MainWindow::tr("The file holds no text.");
        ok = false;
    }
    if (ok) {
        layout = CsvLayout::recognise(rows.first().fields);
        line = rows.first().line;
        if (!layout.isKnown()) {
            error = MainWindow::tr("This is no header that Nimbrel knows: none of its columns is a URL, a user "
                                   "name or a password.");
            ok = false;
        }
    }
    if (ok)
        ok = layout.cards(rows.mid(1), cards, &error, &line);
    if (ok && cards->isEmpty()) {
        error = MainWindow::tr("No row follows the header.");
        ok = false;
    }
    if (!ok) {
        *message = MainWindow::tr("%1 cannot be imported.\nLine %2: %3\n\nNothing was imported.")
                       .arg(QDir::toNativeSeparators(fileName))
                       .arg(line)
                       .arg(error);
        return false;
    }
    *layoutName = layout.name();
    return true;
}

} // namespace

void MainWindow::importCsv()
{
    const QString chosen = chooseTransferFile(tr("Import CSV"), false, tr("CSV File (*.csv);;All Files (*)"));
    if (chosen.isEmpty() || !savePendingEdits())
        return;
    QString layoutName;
    QList<CsvCard> cards;
    QString message;
    if (!readCsv(chosen, &layoutName, &cards, &message)) {
        PlainText::tell(this, QMessageBox::Warning, tr("Import CSV"), message);
        return;
    }
    const QString ownCategory = tr("Imported %1").arg(QDate::currentDate().toString(Qt::ISODate));
    CsvPreview preview(layoutName, cards, ownCategory, this);
    if (preview.exec() != QDialog::Accepted)
        return;

    QProgressBar progressBar(this);
    progressBar.setRange(0, int(cards.size()));
    progressBar.setGeometry(width() / 4, height() / 2, width() / 2, 30);
    progressBar.show();
    repaint();
    QString error;
    const bool written = CsvCards::write(
        cards, ownCategory,
        [&](int done) {
            progressBar.setValue(done);
            emit setProgressValue(done);
            repaint();
        },
        &error);
    if (!written) {
        PlainText::tell(this, QMessageBox::Warning, tr("Import CSV"),
                        tr("The import failed and nothing was imported:\n%1").arg(error));
        return;
    }
    clearCategoryActions();
    loadCategoryActions();
    PlainText::tell(this, QMessageBox::Information, tr("Import CSV"),
                    tr("Cards imported from %1: %2.\n\nThat file still holds your passwords in plain text, "
                       "for anyone who can read it. You may want to delete it now.")
                        .arg(QDir::toNativeSeparators(chosen))
                        .arg(cards.size()));
}

bool MainWindow::askVaultPassword(const QString &title)
{
    // A vault without a password asks none.
    const std::optional<QString> stored = SettingsRow::password();
    if (stored && *stored == SettingsRow::none)
        return true;
    ImportLogin login(this);
    if (login.exec() != QDialog::Accepted)
        return false;
    QString error;
    const StoreEncryption::Check check = StoreEncryption::check(login.password(), false, &error);
    if (check == StoreEncryption::Check::Matches)
        return true;
    if (check == StoreEncryption::Check::Unreadable)
        PlainText::tell(this, QMessageBox::Warning, title, tr("The password cannot be checked:\n%1").arg(error));
    else
        PlainText::tell(this, QMessageBox::Information, title, tr("The password is not the vault's password."));
    return false;
}

void MainWindow::exportCsv()
{
    if (!savePendingEdits() || !askVaultPassword(tr("Export CSV")))
        return;
    QMessageBox question(QMessageBox::Warning, tr("Export CSV"),
                         tr("The CSV file is not protected: whoever can read it sees every password in it. "
                            "Keep it where only you can reach it, and delete it once it has served.\n\n"
                            "Export all cards, or only the cards the table shows?"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question.button(QMessageBox::Yes)->setText(tr("&All Cards"));
    question.button(QMessageBox::No)->setText(tr("Cards &Shown"));
    question.button(QMessageBox::Cancel)->setText(tr("&Cancel"));
    question.setDefaultButton(QMessageBox::Cancel);
    const int answer = question.exec();
    if (answer != QMessageBox::Yes && answer != QMessageBox::No)
        return;
    std::optional<QSet<int>> shown;
    if (answer == QMessageBox::No) {
        shown.emplace();
        for (int row = 0; row < cardModel->rowCount(); ++row)
            shown->insert(cardModel->index(row, 0).data().toInt());
    }

    const QString target = chooseTransferFile(tr("Export CSV"), true, tr("CSV File (*.csv)"));
    if (target.isEmpty())
        return;
    if (StoreFile::isSameFile(target, storeFilePath())) {
        PlainText::tell(
            this, QMessageBox::Warning, tr("Export CSV"),
            tr("%1 is the open store itself. Choose another file name.").arg(QDir::toNativeSeparators(target)));
        return;
    }
    QList<CsvCard> cards;
    QString error;
    if (!CsvCards::read(shown, &cards, &error)) {
        PlainText::tell(this, QMessageBox::Warning, tr("Export CSV"),
                        tr("The cards could not be read:\n%1\n\nNothing was exported.").arg(error));
        return;
    }
    if (!StoreFile::writePrivate(CsvCards::toCsv(cards), target, &error)) {
        PlainText::tell(this, QMessageBox::Warning, tr("Export CSV"),
                        tr("The cards could not be exported to %1:\n%2\n\nA file that was there before is unchanged.")
                            .arg(QDir::toNativeSeparators(target), error));
        return;
    }
    PlainText::tell(this, QMessageBox::Information, tr("Export CSV"),
                    tr("Cards exported to %1: %2.").arg(QDir::toNativeSeparators(target)).arg(cards.size()));
}
