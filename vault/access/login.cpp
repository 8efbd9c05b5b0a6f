#include "access/login.h"

#include "access/gate.h"
#include "access/passwordcheck.h"

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
    const PasswordCheck::Outcome outcome = PasswordCheck::run(this, passwordEdit->text(), true);
    // Closed while the password was checked: nothing lies behind it any more.
    if (!isVisible())
        return;
    QString detail;
    const QString refusal = PasswordCheck::refusal(outcome, &detail);
    // An unreadable settings row matches no entry at all, and says why.
    if (!refusal.isEmpty()) {
        PasswordCheck::show(messageLabel, refusal, detail);
        return;
    }
    passwordEdit->clear();
    PasswordCheck::show(messageLabel, QString(), QString());
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
