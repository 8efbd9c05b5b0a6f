#include "mainwindow/importlogin.h"

#include "widgets/buttonrow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ImportLogin::ImportLogin(QWidget *parent)
    : QDialog(parent)
{
    auto *passwordLabel = new QLabel(tr("&Password"), this);
    passwordEdit = new QLineEdit(this);
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(passwordEdit);

    const ButtonRow buttons = ButtonRow::make(this, tr("&OK"), tr("&Cancel"));
    okButton = buttons.ok;
    cancelButton = buttons.cancel;

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(passwordLabel);
    passwordRow->addWidget(passwordEdit);
    auto *layout = new QVBoxLayout;
    layout->addLayout(passwordRow);
    layout->addSpacing(10);
    layout->addLayout(buttons.layout);

    setLayout(layout);
    setWindowTitle(tr("Password Input"));
}

QString ImportLogin::password() const
{
    return passwordEdit->text();
}

void ImportLogin::clearPassword()
{
    passwordEdit->clear();
}
