#ifndef SETPW_H
#define SETPW_H

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Sets the vault password: at the first start (firstRun, then opens the main
// window) or from the main window (asks for the old password first).
class SetPw : public QDialog
{
    Q_OBJECT

public:
    SetPw(QWidget *parent, bool firstRun);

private slots:
    void checkPassword();

private:
    // Checks the fields and stores the new password; the red message that
    // says why it was not stored, empty when it was, and the driver's words
    // for its detail.
    QString storeNewPassword(QString *detail);

    QLineEdit *oldEdit = nullptr;
    QLineEdit *newEdit = nullptr;
    QLineEdit *confirmEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *messageLabel = nullptr;
    QWidget *mainWindow = nullptr;
    bool firstRun = false;
};

#endif
