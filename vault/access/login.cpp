#include "access/login.h"

#include "access/gate.h"
#include "store/storeencryption.h"

#include <QGuiApplication>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Login::Login(QWidget *parent)
    : QDialog(parent)
{
    messageLabel = new QLabel(this);
    auto *passwordLabel = new QLabel(tr("&Password"), this);
    passwordEdit = new QLineEdit(this);
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(passwordEdit);

    loginButton = new QPushButton(QIcon(QStringLiteral(":/menuicon/login.png")), tr("&Login"), this);
    loginButton->setIconSize(QSize(20, 20));
    loginButton->setDefault(true);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(passwordLabel);
    passwordRow->addWidget(passwordEdit);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(messageLabel);
    buttonRow->addWidget(loginButton);
    auto *layout = new QVBoxLayout;
    layout->addLayout(passwordRow);
    layout->addSpacing(10);
    layout->addLayout(buttonRow);
    setLayout(layout);

    connect(loginButton, &QPushButton::clicked, this, &Login::checkPassword);

    setWindowTitle(tr("Password Input"));
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/login.png")));
    passwordEdit->setFocus();
}

void Login::checkPassword()
{
    // Deriving the key of an encrypted store takes most of a second.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const StoreEncryption::Check check = StoreEncryption::check(passwordEdit->text(), true, &error);
    QGuiApplication::restoreOverrideCursor();
    // An unreadable settings row matches no entry at all, and says why.
    if (check == StoreEncryption::Check::Unreadable) {
        messageLabel->setText(
            tr("<font color=red>The password cannot be checked: %1</font>").arg(error.toHtmlEscaped()));
        return;
    }
    if (check == StoreEncryption::Check::Differs) {
        messageLabel->setText(tr("<font color=red>password error!</font>"));
        return;
    }
    passwordEdit->clear();
    messageLabel->clear();
    accept();
    if (unlock)
        unlock();
    else
        mainWindow = Gate::openMainWindow();
}

void Login::setUnlock(std::function<void()> unlocked)
{
    unlock = std::move(unlocked);
    messageLabel->setText(tr("The vault is locked. Enter the password to go on."));
}
