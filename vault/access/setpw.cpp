#include "access/setpw.h"

#include "access/gate.h"
#include "store/settingsrow.h"
#include "store/storeencryption.h"

#include <QGuiApplication>

#include <QGridLayout>
#include <QHBoxLayout>
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

    okButton = new QPushButton(tr("&Ok"), this);
    cancelButton = new QPushButton(tr("Canc&el"), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &SetPw::checkPassword);
    connect(cancelButton, &QPushButton::clicked, this, &SetPw::reject);

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
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    auto *layout = new QVBoxLayout;
    layout->addLayout(grid);
    layout->addWidget(messageLabel);
    layout->addLayout(buttonRow);
    setLayout(layout);

    setWindowTitle(tr("Set Password"));
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/setpassword.png")));
    newEdit->setFocus();
}

void SetPw::checkPassword()
{
    // Deriving the key of an encrypted store takes most of a second, twice here.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString message = storeNewPassword();
    QGuiApplication::restoreOverrideCursor();
    if (!message.isEmpty()) {
        messageLabel->setText(message);
        return;
    }
    for (QLineEdit *edit : {oldEdit, newEdit, confirmEdit})
        edit->clear();
    accept();
    if (firstRun)
        mainWindow = Gate::openMainWindow();
}

QString SetPw::storeNewPassword()
{
    QString error;
    if (!firstRun) {
        // An unreadable settings row matches no old password at all, and says why.
        const StoreEncryption::Check check = StoreEncryption::check(oldEdit->text(), false, &error);
        if (check == StoreEncryption::Check::Unreadable)
            return tr("<font color=red>The old password cannot be checked: %1</font>").arg(error.toHtmlEscaped());
        if (check == StoreEncryption::Check::Differs)
            return tr("<font color=red>old password not match.</font>");
    }
    if (newEdit->text() != confirmEdit->text())
        return tr("<font color=red>New passowrd and Confirm do not exactly match.</font>");
    // The store reads "none" as "no password set": the vault would stand open.
    if (newEdit->text() == SettingsRow::none)
        return tr("<font color=red>\"none\" cannot be used as a password.</font>");
    if (!StoreEncryption::setPassword(newEdit->text(), &error))
        return tr("<font color=red>The password could not be stored: %1</font>").arg(error.toHtmlEscaped());
    return QString();
}
