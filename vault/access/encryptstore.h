#ifndef ENCRYPTSTORE_H
#define ENCRYPTSTORE_H

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Encrypts a plain store under its password, once the user has typed the
// password again and read what it means.
class EncryptStore : public QDialog
{
    Q_OBJECT

public:
    explicit EncryptStore(QWidget *parent = nullptr);

    // After an accepted run: whether the file could be rewritten without the
    // space that held the plain texts.
    bool compacted() const { return wasCompacted; }

private slots:
    void encrypt();

private:
    QLineEdit *passwordEdit = nullptr;
    QLabel *messageLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    bool wasCompacted = false;
};

#endif
