#include "vaulttest.h"

#include "access/gate.h"
#include "access/idlelock.h"
#include "access/login.h"
#include "access/setpw.h"
#include "mainwindow/openmainwindow.h"
#include "store/settingsrow.h"

namespace {

constexpr int stillRunning = 42;

// Runs the application's event loop, as the program does, with `step` as its
// first event: the loop's exit code, or stillRunning if it had not quit.
template<typename Step> int runApplication(Step step)
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
        if (auto *window = qobject_cast<MainWindow *>(widget))
            windows << window;
    return windows;
}

// The label of the dialog whose text begins with `start`, or null.
QLabel *label(QWidget *dialog, const QString &start)
{
    for (QLabel *part : dialog->findChildren<QLabel *>()) {
        if (part->text().startsWith(start))
            return part;
    }
    return nullptr;
}

// The entry that the label beginning with `name` names.
QLineEdit *entry(QWidget *dialog, const QString &name)
{
    return qobject_cast<QLineEdit *>(label(dialog, name)->buddy());
}

// Whether the dialog shows a red message beginning with `text`.
bool tells(QWidget *dialog, const QString &text)
{
    return label(dialog, "<font color=red>" + text);
}

void enter(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Fills the old, new and confirming password of a SetPw and presses Enter.
void submit(QWidget *dialog, const QString &oldText, const QString &newText, const QString &confirmText)
{
    entry(dialog, QStringLiteral("&Type old"))->setText(oldText);
    entry(dialog, QStringLiteral("&New"))->setText(newText);
    enter(entry(dialog, QStringLiteral("&Confirm")), confirmText);
}

// Tries `typed` at the login of a fresh start.
bool loginOpens(const QString &typed)
{
    qDeleteAll(mainWindows());
    Login login;
    login.show();
    enter(entry(&login, QStringLiteral("&Password")), typed);
    return login.isHidden() && mainWindows().size() == 1;
}

} // namespace

class TestGate : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        store.emplace();
        Gate::setMainWindowOpener([]() -> QWidget * { return openMainWindow(); });
    }

    void cleanup()
    {
        // The main window has no parent: nothing else deletes it.
        qDeleteAll(mainWindows());
        store.reset();
    }

    void firstStartThenChange()
    {
        // Refusals and Cancel leave the vault without password.
        SetPw cancelled(nullptr, true);
        cancelled.show();
        submit(&cancelled, QString(), QStringLiteral("secret"), QStringLiteral("secreT"));
        QVERIFY(tells(&cancelled, QStringLiteral("New passowrd and Confirm do not exactly match.</font>")));
        store->makeReadOnly();
        submit(&cancelled, QString(), QStringLiteral("secret"), QStringLiteral("secret"));
        QVERIFY(tells(&cancelled, QStringLiteral("The password could not be stored: ")));
        QVERIFY(cancelled.isVisible());
        QCOMPARE(runApplication([&] { cancelled.reject(); }), 0);
        QCOMPARE(storedPassword(), SettingsRow::none);
        QVERIFY(mainWindows().isEmpty());

        // The next start shows two rows; Ok with both empty sets the empty password.
        store->exec(QStringLiteral("PRAGMA query_only = OFF"));
        SetPw firstRun(nullptr, true);
        firstRun.show();
        QVERIFY(entry(&firstRun, QStringLiteral("&Type old"))->isHidden());
        QCOMPARE(runApplication([&] { enter(entry(&firstRun, QStringLiteral("&New")), QString()); }), stillRunning);
        QVERIFY(firstRun.isHidden());
        QCOMPARE(store->value("select typeof(password) || ':' || password from option").toString(), "text:");
        QCOMPARE(mainWindows().size(), 1);
        QVERIFY(loginOpens(QString()));

        // Changed from the main window after refusals: no second window, and the
        // login wants the new password, quotes, placeholder and Chinese included.
        const QString password = QString::fromUtf8("it's \"%1\" 保险箱");
        ModalAnswer change("Set Password", QMessageBox::NoButton, [this, &password](QWidget *modal) {
            submit(modal, QStringLiteral("x"), password, QStringLiteral("other"));
            QVERIFY(tells(modal, QStringLiteral("old password not match.</font>")));
            QCOMPARE(storedPassword(), QString(""));
            submit(modal, QString(), password, password);
        });
        QVERIFY(QMetaObject::invokeMethod(mainWindows().first(), "setPassword"));
        QCOMPARE(storedPassword(), password);
        QCOMPARE(mainWindows().size(), 1);
        qDeleteAll(mainWindows());
        // Only the exact password opens; the entry and dialog stay for another try.
        Login login;
        login.show();
        for (const QString &wrong : {QString(), password + ' ', password.toUpper(), SettingsRow::none})
            enter(entry(&login, QStringLiteral("&Password")), wrong);
        QVERIFY(tells(&login, QStringLiteral("password error!</font>")));
        QVERIFY(mainWindows().isEmpty());
        QVERIFY(loginOpens(password));
    }

    void unreadableSettingsRowLetsNobodyIn()
    {
        // Another program holds the store: the right password is not called wrong.
        QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
        Login login;
        login.show();
        SetPw setPw(nullptr, false);
        setPw.show();
        {
            OtherProgram holder(store->filePath(), QStringLiteral("BEGIN EXCLUSIVE"));
            enter(entry(&login, QStringLiteral("&Password")), QStringLiteral("secret"));
            QVERIFY(tells(&login,
                          QStringLiteral("The password cannot be checked: The store is being used by another "
                                         "program. Nothing was lost: try again in a moment.")));
            submit(&setPw, QStringLiteral("secret"), QStringLiteral("a"), QStringLiteral("a"));
            QVERIFY(tells(&setPw,
                          QStringLiteral("The old password cannot be checked: The store is being used by another "
                                         "program. Nothing was lost: try again in a moment.")));
        }
        QVERIFY(mainWindows().isEmpty());
        QCOMPARE(storedPassword(), QStringLiteral("secret"));

        store->exec(QStringLiteral("delete from option"));
        QVERIFY(!loginOpens(QString()));
        QVERIFY(!loginOpens(SettingsRow::none));
        submit(&setPw, QString(), QStringLiteral("a"), QStringLiteral("a"));
        QVERIFY(tells(&setPw,
                      QStringLiteral("The old password cannot be checked: The store has no settings row; it "
                                     "may be damaged.")));
    }

    // Left alone, the vault locks itself once the pending edit is written,
    // and the password brings the window back as it was.
    void idleLockWritesFirstAndComesBack()
    {
        QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
        store->exec("insert into category values(1, 'Web'); insert into card values(1, 18, 'forum', 1)");
        IdleLock::msPerMinute = 100;
        MainWindow window;
        window.show();
        trigger(&window, QStringLiteral("1 minute"));
        QCOMPARE(store->value("select value from setting where name = 'lock_minutes'").toString(), "1");
        typeInto(window.findChild<QTableView *>("cardView"), 0, 2, QStringLiteral("typed"));

        store->makeReadOnly();
        {
            ModalAnswer refused("Write Error");
            ModalAnswer told("Lock");
            QVERIFY(told.wait());
            QCOMPARE(told.text, "The vault stays unlocked: your changes could not be saved first.");
        }
        QVERIFY(window.isVisible() && !window.isLocked());
        store->exec(QStringLiteral("PRAGMA query_only = OFF"));
        QVERIFY(QTest::qWaitFor([&] { return window.isLocked(); }, 2000));
        QVERIFY(!window.isVisible());
        QCOMPARE(store->value("select name from card where id = 1").toString(), "typed");

        Login *login = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            login = login ? login : qobject_cast<Login *>(widget->isVisible() ? widget : nullptr);
        QVERIFY(login);
        enter(entry(login, QStringLiteral("&Password")), QStringLiteral("wrong"));
        QVERIFY(window.isLocked() && tells(login, QStringLiteral("password error!")));
        enter(entry(login, QStringLiteral("&Password")), QStringLiteral("secret"));
        QVERIFY(window.isVisible() && !window.isLocked());
        QCOMPARE(shownCards(&window), "typed");
        IdleLock::msPerMinute = 60000;
    }

private:
    QString storedPassword() const { return store->value("select password from option").toString(); }

    std::optional<TestStore> store;
};

QTEST_MAIN(TestGate)
#include "tst_gate.moc"
