#ifndef IMPORTLOGIN_H
#define IMPORTLOGIN_H

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks for the password of a store about to be imported.
class ImportLogin : public QDialog
{
    Q_OBJECT

public:
    explicit ImportLogin(QWidget *parent = nullptr);

    QString password() const;
    // Once the password has been tried: no copy stays in the field.
    void clearPassword();

private:
    QLineEdit *passwordEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
};

#endif
