#include "access/gate.h"
#include "access/login.h"
#include "access/setpw.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/openmainwindow.h"
#include "modalanswer.h"
#include "otherprogram.h"
#include "store/cardstore.h"
#include "store/settingsrow.h"
#include "teststore.h"

#include <QtTest>
#include <QtWidgets>
#include <optional>

namespace {

constexpr int stillRunning = 42;

// Types into the emptied entry as an input method commits text, so Chinese
// arrives as ASCII does.
void typeText(QWidget *edit, const QString &text)
{
    qobject_cast<QLineEdit *>(edit)->clear();
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
}

// Runs the application's event loop, as the program does, with `step` as its
// first event: the loop's exit code, or stillRunning if it had not quit.
template<typename Step>
int runApplication(Step step)
{
    QObject patience;
    QTimer::singleShot(300, &patience, [] { QCoreApplication::exit(stillRunning); });
    QTimer::singleShot(0, qApp, step);
    return QApplication::exec();
}

QList<MainWindow *> mainWindows()
{
    QList<MainWindow *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets())
        windows << qobject_cast<MainWindow *>(widget);
    windows.removeAll(nullptr);
    return windows;
}

// A label or button as the user finds it: by the start of its text.
template<typename Part = QLabel>
Part *findPart(QWidget *dialog, const QString &text)
{
    for (Part *part : dialog->findChildren<Part *>()) {
        if (part->text().startsWith(text))
            return part;
    }
    return nullptr;
}

// Types the old, new and confirming password into a SetPw and presses Enter.
void submit(QWidget *dialog, const QString &oldText, const QString &newText, const QString &confirmText)
{
    typeText(findPart(dialog, QStringLiteral("&Type old"))->buddy(), oldText);
    typeText(findPart(dialog, QStringLiteral("&New"))->buddy(), newText);
    typeText(findPart(dialog, QStringLiteral("&Confirm"))->buddy(), confirmText);
    QTest::keyClick(findPart(dialog, QStringLiteral("&Confirm"))->buddy(), Qt::Key_Return);
}

// Tries `typed` at the login of a fresh start.
bool loginOpens(const QString &typed)
{
    qDeleteAll(mainWindows());
    Login login;
    login.show();
    QWidget *edit = findPart(&login, QStringLiteral("&Password"))->buddy();
    typeText(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    return login.isHidden() && mainWindows().size() == 1;
}

} // namespace

class TestGate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstStartThenChange();
    void loginAfterFailures();
    void unreadableSettingsRowLetsNobodyIn();

private:
    QString storedPassword() const;

    std::optional<TestStore> store;
};

void TestGate::init()
{
    store.emplace();
    Gate::setMainWindowOpener([]() -> QWidget * { return openMainWindow(); });
}

void TestGate::cleanup()
{
    // The main window has no parent: nothing else deletes it.
    qDeleteAll(mainWindows());
    store.reset();
}

QString TestGate::storedPassword() const
{
    return store->value(QStringLiteral("select password from option")).toString();
}

void TestGate::firstStartThenChange()
{
    // Refusals and Cancel leave the vault without password.
    SetPw cancelled(nullptr, true);
    cancelled.show();
    submit(&cancelled, QString(), QStringLiteral("secret"), QStringLiteral("secreT"));
    QVERIFY(findPart(&cancelled, QStringLiteral("<font color=red>New passowrd and Confirm do not exactly match.</font>")));
    store->makeReadOnly();
    submit(&cancelled, QString(), QStringLiteral("secret"), QStringLiteral("secret"));
    QVERIFY(findPart(&cancelled, QStringLiteral("<font color=red>The password could not be stored: ")));
    QVERIFY(cancelled.isVisible());
    QPushButton *cancelButton = findPart<QPushButton>(&cancelled, QStringLiteral("Canc&el"));
    QCOMPARE(runApplication([&] { QTest::mouseClick(cancelButton, Qt::LeftButton); }), 0);
    QCOMPARE(storedPassword(), SettingsRow::none);
    QVERIFY(mainWindows().isEmpty());

    // The next start shows two rows; Ok with both empty sets the empty password.
    store->exec(QStringLiteral("PRAGMA query_only = OFF"));
    SetPw firstRun(nullptr, true);
    firstRun.show();
    QWidget *newEdit = findPart(&firstRun, QStringLiteral("&New"))->buddy();
    QVERIFY(findPart(&firstRun, QStringLiteral("&Type old"))->buddy()->isHidden());
    QCOMPARE(runApplication([&] { QTest::keyClick(newEdit, Qt::Key_Return); }), stillRunning);
    QVERIFY(firstRun.isHidden());
    QCOMPARE(store->value(QStringLiteral("select typeof(password) from option")).toString(), QStringLiteral("text"));
    QCOMPARE(storedPassword(), QString(""));
    QCOMPARE(mainWindows().size(), 1);
    QVERIFY(loginOpens(QString()));

    // Changed from the main window after refusals: no second window, and the
    // login wants the new password, quotes, placeholder and Chinese included.
    const QString password = QString::fromUtf8("it's \"%1\" 保险箱");
    ModalAnswer change("Set Password", QMessageBox::NoButton, [this, &password](QWidget *modal) {
        submit(modal, QStringLiteral("x"), password, QStringLiteral("other"));
        QVERIFY(findPart(modal, QStringLiteral("<font color=red>old password not match.</font>")));
        QCOMPARE(storedPassword(), QString(""));
        submit(modal, QString(), password, password);
    });
    QVERIFY(QMetaObject::invokeMethod(mainWindows().first(), "setPassword"));
    QCOMPARE(storedPassword(), password);
    QCOMPARE(mainWindows().size(), 1);
    QVERIFY(!loginOpens(QString()));
    QVERIFY(loginOpens(password));
}

void TestGate::loginAfterFailures()
{
    QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
    Login dialog;
    dialog.show();
    QWidget *edit = findPart(&dialog, QStringLiteral("&Password"))->buddy();
    for (const char *wrong : {"secret ", "Secret", "", "none"}) {
        typeText(edit, QString::fromLatin1(wrong));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QVERIFY(findPart(&dialog, QStringLiteral("<font color=red>password error!</font>")));
    QVERIFY(mainWindows().isEmpty());

    typeText(edit, QStringLiteral("secret"));
    QCOMPARE(runApplication([&] { QTest::keyClick(edit, Qt::Key_Return); }), stillRunning);
    QVERIFY(dialog.isHidden());
    QCOMPARE(mainWindows().size(), 1);
}

void TestGate::unreadableSettingsRowLetsNobodyIn()
{
    // Another program holds the store: the right password is not called wrong.
    QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
    Login login;
    login.show();
    SetPw setPw(nullptr, false);
    setPw.show();
    {
        OtherProgram holder(store->filePath(), QStringLiteral("BEGIN EXCLUSIVE"));
        QWidget *edit = findPart(&login, QStringLiteral("&Password"))->buddy();
        typeText(edit, QStringLiteral("secret"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(findPart(&login, QStringLiteral("<font color=red>The password cannot be checked: database is locked")));
        submit(&setPw, QStringLiteral("secret"), QStringLiteral("a"), QStringLiteral("a"));
        QVERIFY(findPart(&setPw, QStringLiteral("<font color=red>The old password cannot be checked: database is locked")));
    }
    QVERIFY(mainWindows().isEmpty());
    QCOMPARE(storedPassword(), QStringLiteral("secret"));

    store->exec(QStringLiteral("delete from option"));
    QVERIFY(!loginOpens(QString()));
    QVERIFY(!loginOpens(SettingsRow::none));
    submit(&setPw, QString(), QStringLiteral("a"), QStringLiteral("a"));
    QVERIFY(findPart(&setPw, QStringLiteral("<font color=red>The old password cannot be checked: no settings row")));
    store->exec(QStringLiteral("drop table option"));
    QVERIFY(!loginOpens(QString()));
}

QTEST_MAIN(TestGate)
#include "tst_gate.moc"
