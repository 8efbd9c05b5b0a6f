#include "access/login.h"
#include "access/openmainwindow.h"
#include "access/setpw.h"
#include "mainwindow/mainwindow.h"
#include "modalanswer.h"
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

const QString oldMismatch = QStringLiteral("<font color=red>old password not match.</font>");
const QString newMismatch =
    QStringLiteral("<font color=red>New passowrd and Confirm do not exactly match.</font>");
const QString noneRefused = QStringLiteral("<font color=red>\"none\" cannot be used as a password.</font>");

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

QLabel *labelWithText(QWidget *dialog, const QString &text)
{
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

// The dialog's parts, found through the labels' buddies as Alt+key finds them.
struct SetPwView
{
    explicit SetPwView(QWidget *dialog)
    {
        oldLabel = labelWithText(dialog, QStringLiteral("&Type old password"));
        newLabel = labelWithText(dialog, QStringLiteral("&New password"));
        confirmLabel = labelWithText(dialog, QStringLiteral("&Confirm"));
        oldEdit = qobject_cast<QLineEdit *>(oldLabel->buddy());
        newEdit = qobject_cast<QLineEdit *>(newLabel->buddy());
        confirmEdit = qobject_cast<QLineEdit *>(confirmLabel->buddy());
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            if (!label->buddy())
                messageLabel = label;
        }
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            if (button->text() == QLatin1String("&Ok"))
                okButton = button;
            else if (button->text() == QLatin1String("Canc&el"))
                cancelButton = button;
        }
    }

    void type(const QString &oldText, const QString &newText, const QString &confirmText) const
    {
        typeText(oldEdit, oldText);
        typeText(newEdit, newText);
        typeText(confirmEdit, confirmText);
    }

    QLabel *oldLabel = nullptr;
    QLabel *newLabel = nullptr;
    QLabel *confirmLabel = nullptr;
    QLabel *messageLabel = nullptr;
    QLineEdit *oldEdit = nullptr;
    QLineEdit *newEdit = nullptr;
    QLineEdit *confirmEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
};

} // namespace

class TestSetPw : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogAsShown_data();
    void dialogAsShown();

    // First-run form
    void firstRunBothEmptyStoresEmptyText();
    void firstRunCancelKeepsNone();

    // Both forms
    void refusedEntries_data();
    void refusedEntries();
    void failedUpdateKeepsDialogOpen_data();
    void failedUpdateKeepsDialogOpen();
    void unreadableSettingsRowRefusesOldPassword_data();
    void unreadableSettingsRowRefusesOldPassword();

    // Change form
    void changeFromMainWindow();
    void passwordRoundTrip_data();
    void passwordRoundTrip();

private:
    void storePassword(const QString &password);
    QString storedPassword() const;
    SetPw *showSetPw(bool firstRun);
    bool loginPasses(const QString &typed);

    std::unique_ptr<TestStore> store;
};

void TestSetPw::init()
{
    store = std::make_unique<TestStore>();
}

void TestSetPw::cleanup()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<MainWindow *>(widget) || qobject_cast<SetPw *>(widget) || qobject_cast<Login *>(widget))
            windows << widget;
    }
    for (const QPointer<QWidget> &window : windows)
        delete window.data();
    store.reset();
}

void TestSetPw::storePassword(const QString &password)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("update option set password = ? where id = 1"));
    query.addBindValue(password);
    QVERIFY(query.exec());
}

QString TestSetPw::storedPassword() const
{
    return store->value(QStringLiteral("select password from option where id = 1")).toString();
}

SetPw *TestSetPw::showSetPw(bool firstRun)
{
    auto *dialog = new SetPw(nullptr, firstRun);
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog))
        qWarning("set-password dialog did not become active");
    return dialog;
}

// Starts the login as the next start would and tries the entry.
bool TestSetPw::loginPasses(const QString &typed)
{
    auto *login = new Login;
    login->show();
    auto *edit = login->findChild<QLineEdit *>();
    typeText(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    const bool passed = !login->isVisible();
    delete login;
    qDeleteAll(mainWindows());
    return passed;
}

void TestSetPw::dialogAsShown_data()
{
    QTest::addColumn<bool>("firstRun");
    QTest::newRow("first-run form") << true;
    QTest::newRow("change form") << false;
}

void TestSetPw::dialogAsShown()
{
    QFETCH(bool, firstRun);
    SetPw *dialog = showSetPw(firstRun);
    SetPwView view(dialog);

    QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Password"));
    QVERIFY(!dialog->windowIcon().isNull());
    QVERIFY(view.oldEdit && view.newEdit && view.confirmEdit && view.messageLabel);
    QVERIFY(view.okButton && view.cancelButton);
    for (QLineEdit *edit : {view.oldEdit, view.newEdit, view.confirmEdit})
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
    QVERIFY(view.messageLabel->text().isEmpty());
    QVERIFY(view.okButton->icon().isNull() && view.cancelButton->icon().isNull());
    QVERIFY(view.okButton->isDefault());

    // Only two rows in the first-run form; the old-password row tops the change form.
    QCOMPARE(view.oldLabel->isVisible(), !firstRun);
    QCOMPARE(view.oldEdit->isVisible(), !firstRun);
    QVERIFY(view.newEdit->isVisible() && view.confirmEdit->isVisible());
    if (!firstRun)
        QVERIFY(view.oldEdit->geometry().bottom() < view.newEdit->geometry().top());
    QVERIFY(view.newEdit->geometry().bottom() < view.confirmEdit->geometry().top());
    QVERIFY(view.confirmEdit->geometry().bottom() < view.messageLabel->geometry().top());
    QVERIFY(view.messageLabel->geometry().bottom() < view.okButton->geometry().top());
    QVERIFY(view.okButton->geometry().right() < view.cancelButton->geometry().left());

    // Focus starts in the new password; the old one comes last.
    QList<QWidget *> expected{view.newEdit, view.confirmEdit, view.okButton, view.cancelButton};
    if (!firstRun)
        expected << view.oldEdit;
    expected << view.newEdit;
    QCOMPARE(QApplication::focusWidget(), expected.first());
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected.at(i));
    }
}

void TestSetPw::firstRunBothEmptyStoresEmptyText()
{
    QCOMPARE(storedPassword(), QStringLiteral("none"));
    SetPw *dialog = showSetPw(true);
    SetPwView view(dialog);
    const int exitCode = runApplication([&] { QTest::keyClick(view.newEdit, Qt::Key_Return); });

    QCOMPARE(exitCode, stillRunning);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(store->value(QStringLiteral("select typeof(password) from option")).toString(),
             QStringLiteral("text"));
    QCOMPARE(storedPassword(), QString(""));

    QCOMPARE(mainWindows().size(), 1);
    MainWindow *window = mainWindows().first();
    QVERIFY(window->isVisible());
    QVERIFY(!window->parentWidget());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window->geometry(),
             QRect(screen.width() / 4, screen.height() / 4, screen.width() / 2, screen.height() / 2));

    QVERIFY(loginPasses(QString()));
}

void TestSetPw::firstRunCancelKeepsNone()
{
    SetPw *dialog = showSetPw(true);
    SetPwView view(dialog);
    view.type(QString(), QStringLiteral("abc"), QStringLiteral("abc"));

    const int exitCode = runApplication([&] { QTest::mouseClick(view.cancelButton, Qt::LeftButton); });

    QCOMPARE(exitCode, 0);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(storedPassword(), QStringLiteral("none"));
    QVERIFY(mainWindows().isEmpty());
}

void TestSetPw::refusedEntries_data()
{
    QTest::addColumn<bool>("firstRun");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("confirmText");
    QTest::addColumn<QString>("message");

    QTest::newRow("first run, mismatch")
        << true << "none" << "" << "abc" << "abd" << newMismatch;
    QTest::newRow("first run, none")
        << true << "none" << "" << "none" << "none" << noneRefused;
    QTest::newRow("change, wrong old and mismatching new")
        << false << "secret" << "wrong" << "one" << "two" << oldMismatch;
    QTest::newRow("change, old in other case")
        << false << "secret" << "Secret" << "one" << "one" << oldMismatch;
    QTest::newRow("change, old with trailing space")
        << false << "secret" << "secret " << "one" << "one" << oldMismatch;
    QTest::newRow("change, last character differs")
        << false << "secret" << "secret" << "newpass" << "newpasS" << newMismatch;
    QTest::newRow("change, none")
        << false << "secret" << "secret" << "none" << "none" << noneRefused;
    QTest::newRow("change, none mismatching")
        << false << "secret" << "secret" << "none" << "nonE" << newMismatch;
    QTest::newRow("change, wrong old and none")
        << false << "secret" << "" << "none" << "none" << oldMismatch;
}

void TestSetPw::refusedEntries()
{
    QFETCH(bool, firstRun);
    QFETCH(QString, stored);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, confirmText);
    QFETCH(QString, message);

    storePassword(stored);
    SetPw *dialog = showSetPw(firstRun);
    SetPwView view(dialog);
    view.type(oldText, newText, confirmText);
    QTest::keyClick(view.confirmEdit, Qt::Key_Return);

    QVERIFY(dialog->isVisible());
    QCOMPARE(view.messageLabel->text(), message);
    QCOMPARE(storedPassword(), stored);
    QVERIFY(mainWindows().isEmpty());
    QCOMPARE(view.oldEdit->text(), oldText);
    QCOMPARE(view.newEdit->text(), newText);
    QCOMPARE(view.confirmEdit->text(), confirmText);
}

void TestSetPw::failedUpdateKeepsDialogOpen_data()
{
    QTest::addColumn<bool>("firstRun");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first-run form") << true << "none";
    QTest::newRow("change form") << false << "secret";
}

void TestSetPw::failedUpdateKeepsDialogOpen()
{
    QFETCH(bool, firstRun);
    QFETCH(QString, stored);

    storePassword(stored);
    SetPw *dialog = showSetPw(firstRun);
    SetPwView view(dialog);
    view.type(firstRun ? QString() : stored, QStringLiteral("fresh"), QStringLiteral("fresh"));
    store->makeReadOnly();
    QTest::mouseClick(view.okButton, Qt::LeftButton);

    QVERIFY(dialog->isVisible());
    QVERIFY(view.messageLabel->text().startsWith(QLatin1String("<font color=red>")));
    QVERIFY(view.messageLabel->text().contains(QLatin1String("readonly")));
    QCOMPARE(storedPassword(), stored);
    QVERIFY(mainWindows().isEmpty());
}

void TestSetPw::unreadableSettingsRowRefusesOldPassword_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("oldText");
    QTest::newRow("row deleted, empty old") << "delete from option" << "";
    QTest::newRow("row deleted, none") << "delete from option" << "none";
    QTest::newRow("table dropped, empty old") << "drop table option" << "";
}

void TestSetPw::unreadableSettingsRowRefusesOldPassword()
{
    QFETCH(QString, damage);
    QFETCH(QString, oldText);

    SetPw *dialog = showSetPw(false);
    SetPwView view(dialog);
    store->exec(damage);
    view.type(oldText, QStringLiteral("fresh"), QStringLiteral("fresh"));
    QTest::mouseClick(view.okButton, Qt::LeftButton);

    QVERIFY(dialog->isVisible());
    QCOMPARE(view.messageLabel->text(), oldMismatch);
}

void TestSetPw::changeFromMainWindow()
{
    storePassword(QStringLiteral("secret"));
    MainWindow *window = openMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    bool answered = false;
    onNextModal([&answered](QWidget *modal) {
        QVERIFY(qobject_cast<SetPw *>(modal));
        SetPwView view(modal);
        view.type(QStringLiteral("secret"), QStringLiteral("fresh"), QStringLiteral("fresh"));
        QTest::mouseClick(view.okButton, Qt::LeftButton);
        answered = true;
    });
    QVERIFY(QMetaObject::invokeMethod(window, "setPassword"));

    QVERIFY(answered);
    QCOMPARE(storedPassword(), QStringLiteral("fresh"));
    QVERIFY(window->findChildren<SetPw *>().isEmpty());
    QCOMPARE(mainWindows(), QList<MainWindow *>{window});
    QVERIFY(window->isVisible());

    QVERIFY(!loginPasses(QStringLiteral("secret")));
    QVERIFY(loginPasses(QStringLiteral("fresh")));
}

void TestSetPw::passwordRoundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("single quote") << QString("it's");
    QTest::newRow("quotes and statement") << QString("x' where id = 2; drop table card; --\"");
    QTest::newRow("placeholders") << QString("%1 %2%1");
    QTest::newRow("chinese") << QString::fromUtf8("保险箱密码");
    QTest::newRow("blanks around") << QString("  two  ");
}

void TestSetPw::passwordRoundTrip()
{
    QFETCH(QString, password);

    storePassword(QStringLiteral("secret"));
    const int cards = store->count(QStringLiteral("card"));
    SetPw *dialog = showSetPw(false);
    SetPwView view(dialog);
    view.type(QStringLiteral("secret"), password, password);
    QCOMPARE(view.newEdit->text(), password);
    QTest::mouseClick(view.okButton, Qt::LeftButton);

    QVERIFY(!dialog->isVisible());
    QVERIFY(mainWindows().isEmpty());
    QCOMPARE(storedPassword(), password);
    QCOMPARE(store->count(QStringLiteral("option")), 1);
    QCOMPARE(store->count(QStringLiteral("card")), cards);
    QCOMPARE(store->value(QStringLiteral("select language || lastlang || category from option")).toString(),
             QStringLiteral("nonenone-1"));

    QVERIFY(!loginPasses(QStringLiteral("secret")));
    QVERIFY(loginPasses(password));
}

QTEST_MAIN(TestSetPw)
#include "tst_setpw.moc"
