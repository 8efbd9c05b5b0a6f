#ifndef LOGIN_H
#define LOGIN_H

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The password gate shown at start while a password is set.
class Login : public QDialog
{
    Q_OBJECT

public:
    explicit Login(QWidget *parent = nullptr);

private slots:
    void checkPassword();

private:
    QLineEdit *passwordEdit = nullptr;
    QPushButton *loginButton = nullptr;
    QLabel *messageLabel = nullptr;
    QWidget *mainWindow = nullptr;
};

#endif
