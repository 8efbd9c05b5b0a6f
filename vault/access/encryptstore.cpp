#include "access/encryptstore.h"

#include "access/busywork.h"
#include "access/passwordcheck.h"
#include "store/storeencryption.h"
#include "widgets/buttonrow.h"

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

    const ButtonRow buttons = ButtonRow::make(this, tr("&Encrypt"), tr("&Cancel"), [this] { encrypt(); });
    okButton = buttons.ok;
    cancelButton = buttons.cancel;

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(passwordLabel);
    passwordRow->addWidget(passwordEdit);
    buttons.layout->insertStretch(0);
    auto *layout = new QVBoxLayout;
    layout->addWidget(explanation);
    layout->addLayout(passwordRow);
    layout->addWidget(messageLabel);
    layout->addWidget(progressBar);
    layout->addLayout(buttons.layout);
    setLayout(layout);

    setWindowTitle(tr("Encrypt the Store"));
    setWindowIcon(QIcon(QStringLiteral(":/menuicon/key.png")));
    resize(420, sizeHint().height());
    passwordEdit->setFocus();
}

void EncryptStore::encrypt()
{
    const QString password = passwordEdit->text();
    const PasswordCheck::Outcome outcome = PasswordCheck::run(this, password, false);
    QString detail;
    const QString refusal = PasswordCheck::refusal(outcome, &detail);
    if (!isVisible())
        return;
    if (!refusal.isEmpty()) {
        PasswordCheck::show(messageLabel, refusal, detail);
        return;
    }
    PasswordCheck::show(messageLabel, tr("Encrypting..."), QString());
    StoreEncryption::NewKey key;
    BusyWork::run(this, [&key, &password] { key = StoreEncryption::newKey(password); });
    if (!isVisible())
        return;
    okButton->setEnabled(false);
    cancelButton->setEnabled(false);
    progressBar->show();
    // Painted without a return to the event loop, so nothing else acts on
    // the store in the middle of its conversion.
    repaint();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool encrypted = StoreEncryption::encrypt(
        std::move(key),
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
