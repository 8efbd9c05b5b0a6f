#include "access/setpw.h"

#include "access/busywork.h"
#include "access/gate.h"
#include "access/passwordcheck.h"
#include "store/settingsrow.h"
#include "store/storeencryption.h"
#include "widgets/buttonrow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SetPw::SetPw(QWidget *parent, bool firstRun)
    : QDialog(parent)
    , firstRun(firstRun)
{
    messageLabel = new QLabel(this);

    auto *newLabel = new QLabel(tr("&New password"), this);
    newEdit = new QLineEdit(this);
    newEdit->setEchoMode(QLineEdit::Password);
    newLabel->setBuddy(newEdit);

    auto *confirmLabel = new QLabel(tr("&Confirm"), this);
    confirmEdit = new QLineEdit(this);
    confirmEdit->setEchoMode(QLineEdit::Password);
    confirmLabel->setBuddy(confirmEdit);

    const ButtonRow buttons = ButtonRow::make(this, tr("&Ok"), tr("Canc&el"), [this] { checkPassword(); });
    okButton = buttons.ok;
    cancelButton = buttons.cancel;

    auto *oldLabel = new QLabel(tr("&Type old password"), this);
    oldEdit = new QLineEdit(this);
    oldEdit->setEchoMode(QLineEdit::Password);
    oldLabel->setBuddy(oldEdit);
    if (firstRun) {
        oldLabel->hide();
        oldEdit->hide();
    }

    auto *grid = new QGridLayout;
    grid->addWidget(oldLabel, 0, 0);
    grid->addWidget(oldEdit, 0, 1);
    grid->addWidget(newLabel, 1, 0);
    grid->addWidget(newEdit, 1, 1);
    grid->addWidget(confirmLabel, 2, 0);
    grid->addWidget(confirmEdit, 2, 1);
    auto *layout = new QVBoxLayout;
    layout->addLayout(grid);
    layout->addWidget(messageLabel);
    layout->addLayout(buttons.layout);
    setLayout(layout);

    setWindowTitle(tr("Set Password"));
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/setpassword.png")));
    newEdit->setFocus();
}

void SetPw::checkPassword()
{
    QString detail;
    const QString message = storeNewPassword(&detail);
    if (!isVisible())
        return;
    if (!message.isEmpty()) {
        PasswordCheck::show(messageLabel, message, detail);
        return;
    }
    for (QLineEdit *edit : {oldEdit, newEdit, confirmEdit})
        edit->clear();
    accept();
    if (firstRun)
        mainWindow = Gate::openMainWindow();
}

QString SetPw::storeNewPassword(QString *detail)
{
    detail->clear();
    if (!firstRun) {
        // An unreadable settings row matches no old password at all, and says why.
        const PasswordCheck::Outcome old = PasswordCheck::run(this, oldEdit->text(), false);
        // Cancelled meanwhile: nothing is stored.
        if (!isVisible())
            return QString();
        if (old.result == StoreEncryption::Check::Unreadable)
            return PasswordCheck::cannotCheck(old, tr("<font color=red>The old password cannot be checked: %1</font>"),
                                              detail);
        if (old.result == StoreEncryption::Check::Differs)
            return tr("<font color=red>old password not match.</font>");
    }
    if (newEdit->text() != confirmEdit->text())
        return tr("<font color=red>New passowrd and Confirm do not exactly match.</font>");
    // The store reads "none" as "no password set": the vault would stand open.
    if (newEdit->text() == SettingsRow::none)
        return tr("<font color=red>\"none\" cannot be used as a password.</font>");
    QString error;
    const bool encrypted = StoreEncryption::isEncrypted();
    QString stored;
    const QString typed = newEdit->text();
    BusyWork::run(this, [&] { stored = StoreEncryption::storedForm(typed, encrypted, &error); });
    if ((encrypted && stored.isEmpty()) || !StoreEncryption::storePassword(stored, &error))
        return tr("<font color=red>The password could not be stored: %1</font>").arg(error.toHtmlEscaped());
    return QString();
}
