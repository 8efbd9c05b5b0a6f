#ifndef LOGIN_H
#define LOGIN_H

#include <QDialog>

#include <functional>

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

    // A login that unlocks a locked vault: the right password calls
    // `unlocked` instead of opening a main window.
    void setUnlock(std::function<void()> unlocked);

private slots:
    void checkPassword();

private:
    QLineEdit *passwordEdit = nullptr;
    QPushButton *loginButton = nullptr;
    QLabel *messageLabel = nullptr;
    QWidget *mainWindow = nullptr;
    std::function<void()> unlock;
};

#endif
