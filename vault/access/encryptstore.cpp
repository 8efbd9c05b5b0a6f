#include "access/encryptstore.h"

#include "store/storeencryption.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

EncryptStore::EncryptStore(QWidget *parent)
    : QDialog(parent)
{
    auto *explanation =
        new QLabel(tr("Every card, line and category name will be encrypted with your password. From then on the "
                      "store can only be opened with this password, and a forgotten password cannot be recovered."),
                   this);
    explanation->setWordWrap(true);
    auto *passwordLabel = new QLabel(tr("&Password"), this);
    passwordEdit = new QLineEdit(this);
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(passwordEdit);
    messageLabel = new QLabel(this);
    messageLabel->setWordWrap(true);
    progressBar = new QProgressBar(this);
    progressBar->hide();

    okButton = new QPushButton(tr("&Encrypt"), this);
    cancelButton = new QPushButton(tr("&Cancel"), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &EncryptStore::encrypt);
    connect(cancelButton, &QPushButton::clicked, this, &EncryptStore::reject);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(passwordLabel);
    passwordRow->addWidget(passwordEdit);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    auto *layout = new QVBoxLayout;
    layout->addWidget(explanation);
    layout->addLayout(passwordRow);
    layout->addWidget(messageLabel);
    layout->addWidget(progressBar);
    layout->addLayout(buttonRow);
    setLayout(layout);

    setWindowTitle(tr("Encrypt the Store"));
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/key.png")));
    resize(420, sizeHint().height());
    passwordEdit->setFocus();
}

void EncryptStore::encrypt()
{
    QString error;
    const StoreEncryption::Check check = StoreEncryption::check(passwordEdit->text(), false, &error);
    if (check == StoreEncryption::Check::Unreadable) {
        messageLabel->setText(
            tr("<font color=red>The password cannot be checked: %1</font>").arg(error.toHtmlEscaped()));
        return;
    }
    if (check == StoreEncryption::Check::Differs) {
        messageLabel->setText(tr("<font color=red>password error!</font>"));
        return;
    }
    messageLabel->setText(tr("Encrypting..."));
    okButton->setEnabled(false);
    cancelButton->setEnabled(false);
    progressBar->show();
    // Painted without a return to the event loop, so nothing else acts on
    // the store in the middle of its conversion.
    repaint();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool encrypted = StoreEncryption::encrypt(
        passwordEdit->text(),
        [this](int done, int total) {
            progressBar->setRange(0, total);
            progressBar->setValue(done);
            progressBar->repaint();
        },
        &wasCompacted, &error);
    QGuiApplication::restoreOverrideCursor();
    okButton->setEnabled(true);
    cancelButton->setEnabled(true);
    progressBar->hide();
    if (!encrypted) {
        messageLabel->setText(tr("<font color=red>The store could not be encrypted and is unchanged: %1</font>")
                                  .arg(error.toHtmlEscaped()));
        return;
    }
    passwordEdit->clear();
    accept();
}
