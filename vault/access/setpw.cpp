#include "access/setpw.h"

#include "access/gate.h"
#include "store/settingsrow.h"

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
    if (!firstRun) {
        // An unreadable settings row matches no old password at all, and says why.
        const std::optional<QString> stored = SettingsRow::password();
        if (!stored) {
            messageLabel->setText(tr("<font color=red>The old password cannot be checked: %1</font>")
                                      .arg(SettingsRow::lastError().toHtmlEscaped()));
            return;
        }
        if (oldEdit->text() != *stored) {
            messageLabel->setText(tr("<font color=red>old password not match.</font>"));
            return;
        }
    }
    if (newEdit->text() != confirmEdit->text()) {
        messageLabel->setText(tr("<font color=red>New passowrd and Confirm do not exactly match.</font>"));
        return;
    }
    // The store reads "none" as "no password set": the vault would stand open.
    if (newEdit->text() == SettingsRow::none) {
        messageLabel->setText(tr("<font color=red>\"none\" cannot be used as a password.</font>"));
        return;
    }
    if (!SettingsRow::setPassword(newEdit->text())) {
        messageLabel->setText(tr("<font color=red>The password could not be stored: %1</font>")
                                  .arg(SettingsRow::lastError().toHtmlEscaped()));
        return;
    }
    accept();
    if (firstRun)
        mainWindow = Gate::openMainWindow();
}
