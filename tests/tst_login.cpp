#include "access/login.h"
#include "mainwindow/mainwindow.h"
#include "teststore.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QSqlQuery>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

const QString passwordError = QStringLiteral("<font color=red>password error!</font>");

// ASCII is typed key by key; other scripts arrive as an input method commits them.
void typeText(QWidget *edit, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(edit, ch.toLatin1());
        } else {
            QInputMethodEvent event;
            event.setCommitString(QString(ch));
            QApplication::sendEvent(edit, &event);
        }
    }
}

constexpr int stillRunning = 42;

// Runs the application's event loop, as the program does, with `step` as its
// first event. Returns the loop's exit code, or stillRunning when the
// application had not quit after `patience` milliseconds.
int runApplication(const std::function<void()> &step, int patience = 300)
{
    QTimer patienceTimer;
    patienceTimer.setSingleShot(true);
    QObject::connect(&patienceTimer, &QTimer::timeout, [] { QCoreApplication::exit(stillRunning); });
    patienceTimer.start(patience);
    QTimer::singleShot(0, qApp, step);
    return QApplication::exec();
}

QList<MainWindow *> mainWindows()
{
    QList<MainWindow *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<MainWindow *>(widget))
            windows << window;
    }
    return windows;
}

QRect middleOfPrimaryScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return QRect(screen.width() / 4, screen.height() / 4, screen.width() / 2, screen.height() / 2);
}

// What the user sees of the dialog, found as a user finds it: by its texts.
struct LoginView
{
    explicit LoginView(Login &dialog)
    {
        for (QLabel *label : dialog.findChildren<QLabel *>()) {
            if (label->text() == QLatin1String("&Password"))
                passwordLabel = label;
            else
                messageLabel = label;
        }
        passwordEdit = dialog.findChild<QLineEdit *>();
        loginButton = dialog.findChild<QPushButton *>();
    }

    QLabel *passwordLabel = nullptr;
    QLabel *messageLabel = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QPushButton *loginButton = nullptr;
};

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogAsShown();
    void entryAgainstStoredPassword_data();
    void entryAgainstStoredPassword();
    void tenFailuresThenSuccess();
    void escapeEndsWithoutMainWindow();
    void unreadableSettingsRowLetsNobodyIn_data();
    void unreadableSettingsRowLetsNobodyIn();

private:
    void storePassword(const QString &password);
    Login *showLogin();

    std::unique_ptr<TestStore> store;
};

void TestLogin::init()
{
    store = std::make_unique<TestStore>();
}

void TestLogin::cleanup()
{
    // The gate and the main window have no parent: nothing else deletes them.
    QList<QPointer<QWidget>> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<MainWindow *>(widget) || qobject_cast<Login *>(widget))
            windows << widget;
    }
    for (const QPointer<QWidget> &window : windows)
        delete window.data();
    store.reset();
}

void TestLogin::storePassword(const QString &password)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("update option set password = ? where id = 1"));
    query.addBindValue(password);
    QVERIFY(query.exec());
}

Login *TestLogin::showLogin()
{
    auto *dialog = new Login;
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog))
        qWarning("login dialog did not become active");
    return dialog;
}

void TestLogin::dialogAsShown()
{
    storePassword(QStringLiteral("secret"));
    Login *dialog = showLogin();
    LoginView view(*dialog);

    QCOMPARE(dialog->windowTitle(), QStringLiteral("Password Input"));
    QVERIFY(!dialog->windowIcon().isNull());
    QVERIFY(view.passwordLabel && view.messageLabel && view.passwordEdit && view.loginButton);
    QCOMPARE(view.passwordLabel->buddy(), view.passwordEdit);
    QCOMPARE(view.passwordEdit->echoMode(), QLineEdit::Password);
    QVERIFY(view.messageLabel->text().isEmpty());
    QCOMPARE(view.loginButton->text(), QStringLiteral("&Login"));
    QCOMPARE(view.loginButton->iconSize(), QSize(20, 20));
    QVERIFY(!view.loginButton->icon().isNull());
    QVERIFY(view.loginButton->isDefault());
    QCOMPARE(QApplication::focusWidget(), view.passwordEdit);

    // Password row on top, the message beside the button below it.
    QVERIFY(view.passwordEdit->geometry().bottom() < view.loginButton->geometry().top());
    QVERIFY(view.messageLabel->geometry().right() < view.loginButton->geometry().left());

    // Alt+P reaches the entry from anywhere in the dialog.
    view.loginButton->setFocus();
    QTest::keyClick(dialog, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), view.passwordEdit);
}

void TestLogin::entryAgainstStoredPassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("opens");

    QTest::newRow("empty stored, empty entry") << QString("") << QString() << true;
    QTest::newRow("empty stored, a blank typed") << QString("") << QString(" ") << false;
    QTest::newRow("exact") << QString("secret") << QString("secret") << true;
    QTest::newRow("trailing space") << QString("secret") << QString("secret ") << false;
    QTest::newRow("other letter case") << QString("secret") << QString("Secret") << false;
    QTest::newRow("empty entry") << QString("secret") << QString() << false;
    QTest::newRow("quotes") << QString("it's \"q\"") << QString("it's \"q\"") << true;
    QTest::newRow("placeholder") << QString("%1%2") << QString("%1%2") << true;
    QTest::newRow("chinese") << QString::fromUtf8("密码口令") << QString::fromUtf8("密码口令") << true;
}

void TestLogin::entryAgainstStoredPassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, opens);

    storePassword(stored);
    Login *dialog = showLogin();
    LoginView view(*dialog);
    typeText(view.passwordEdit, typed);
    QCOMPARE(view.passwordEdit->text(), typed);
    // Enter in the entry acts as Login.
    QTest::keyClick(view.passwordEdit, Qt::Key_Return);

    if (opens) {
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(mainWindows().size(), 1);
        QVERIFY(mainWindows().first()->isVisible());
    } else {
        QVERIFY(dialog->isVisible());
        QCOMPARE(view.messageLabel->text(), passwordError);
        QCOMPARE(view.messageLabel->textFormat(), Qt::AutoText);
        QVERIFY(Qt::mightBeRichText(view.messageLabel->text()));
        QCOMPARE(view.passwordEdit->text(), typed);
        QVERIFY(mainWindows().isEmpty());
    }
}

void TestLogin::tenFailuresThenSuccess()
{
    storePassword(QStringLiteral("secret"));
    Login *dialog = showLogin();
    LoginView view(*dialog);

    for (int attempt = 1; attempt <= 10; ++attempt) {
        view.passwordEdit->clear();
        typeText(view.passwordEdit, QStringLiteral("wrong%1").arg(attempt));
        QTest::mouseClick(view.loginButton, Qt::LeftButton);
        QCOMPARE(view.messageLabel->text(), passwordError);
        QVERIFY(dialog->isVisible());
        QVERIFY(view.passwordEdit->isEnabled());
    }
    QVERIFY(mainWindows().isEmpty());

    view.passwordEdit->clear();
    typeText(view.passwordEdit, QStringLiteral("secret"));
    bool openedWithinClick = false;
    const int exitCode = runApplication([&] {
        QTest::mouseClick(view.loginButton, Qt::LeftButton);
        openedWithinClick = mainWindows().size() == 1 && mainWindows().first()->isVisible();
    });

    QVERIFY(openedWithinClick);
    QCOMPARE(exitCode, stillRunning);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(mainWindows().size(), 1);
    MainWindow *window = mainWindows().first();
    QVERIFY(window->isVisible());
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->geometry(), middleOfPrimaryScreen());
}

void TestLogin::escapeEndsWithoutMainWindow()
{
    storePassword(QStringLiteral("secret"));
    Login *dialog = showLogin();
    LoginView view(*dialog);
    typeText(view.passwordEdit, QStringLiteral("secret"));

    const int exitCode = runApplication([&] { QTest::keyClick(view.passwordEdit, Qt::Key_Escape); });

    QCOMPARE(exitCode, 0);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(mainWindows().isEmpty());
}

void TestLogin::unreadableSettingsRowLetsNobodyIn_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("typed");

    QTest::newRow("row deleted, empty entry") << QString("delete from option") << QString();
    QTest::newRow("row deleted, none") << QString("delete from option") << QString("none");
    QTest::newRow("table dropped, empty entry") << QString("drop table option") << QString();
}

void TestLogin::unreadableSettingsRowLetsNobodyIn()
{
    QFETCH(QString, damage);
    QFETCH(QString, typed);

    Login *dialog = showLogin();
    LoginView view(*dialog);
    store->exec(damage);
    typeText(view.passwordEdit, typed);
    QTest::mouseClick(view.loginButton, Qt::LeftButton);

    QVERIFY(dialog->isVisible());
    QCOMPARE(view.messageLabel->text(), passwordError);
    QVERIFY(mainWindows().isEmpty());
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
