#include "mainwindow/importlogin.h"

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

    okButton = new QPushButton(tr("&OK"), this);
    cancelButton = new QPushButton(tr("&Cancel"), this);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(passwordLabel);
    passwordRow->addWidget(passwordEdit);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    auto *layout = new QVBoxLayout;
    layout->addLayout(passwordRow);
    layout->addSpacing(10);
    layout->addLayout(buttonRow);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

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
