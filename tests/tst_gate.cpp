#include "vaulttest.h"

#include "access/busywork.h"
#include "access/encryptstore.h"
#include "access/gate.h"
#include "access/idlelock.h"
#include "access/login.h"
#include "access/setpw.h"
#include "cardeditor/clipboardguard.h"
#include "mainwindow/openmainwindow.h"
#include "store/settingsrow.h"
#include "store/startup.h"
#include "store/storekey.h"

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
        trigger(mainWindows().first(), "Set &Password");
        QCOMPARE(storedPassword(), password);
        QCOMPARE(mainWindows().size(), 1);
        qDeleteAll(mainWindows());
        // Only the exact password opens; the entry and dialog stay for another try.
        Login login;
        login.show();
        for (const QString &wrong : {QString(), password + ' ', password.toUpper(), SettingsRow::none})
            enter(entry(&login, QStringLiteral("&Password")), wrong);
        QVERIFY(tells(&login, QStringLiteral("password error!</font>")) && mainWindows().isEmpty());
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
            const QString held =
                "The store is being used by another program. Nothing was lost: try again in a moment.</font>";
            enter(entry(&login, QStringLiteral("&Password")), QStringLiteral("secret"));
            QVERIFY(tells(&login, held) && label(&login, "<font")->toolTip().contains("database is locked"));
            submit(&setPw, QStringLiteral("secret"), QStringLiteral("a"), QStringLiteral("a"));
            QVERIFY(tells(&setPw, held));
        }

        QVERIFY(mainWindows().isEmpty());
        QCOMPARE(storedPassword(), QStringLiteral("secret"));

        store->exec(QStringLiteral("delete from option"));
        QVERIFY(!loginOpens(QString()) && !loginOpens(SettingsRow::none));
        submit(&setPw, QString(), QStringLiteral("a"), QStringLiteral("a"));
        QVERIFY(tells(&setPw,
                      QStringLiteral("The old password cannot be checked: The store has no settings row; it "
                                     "may be damaged.")));
    }

    // Only the four lower-case letters mean that no password is set.
    void firstRunOnlyForTheSentinel_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("firstRun");
        QTest::newRow("none") << "none" << true;
        QTest::newRow("None") << "None" << false;
        QTest::newRow("none and a space") << "none " << false;
        QTest::newRow("empty") << "" << false;
    }

    void firstRunOnlyForTheSentinel()
    {
        QFETCH(QString, stored);
        QFETCH(bool, firstRun);
        QVERIFY(SettingsRow::setPassword(stored));
        std::unique_ptr<QDialog> gate(raiseGate());
        QCOMPARE(gate->metaObject()->className(), firstRun ? "SetPw" : "Login");
    }

    // An encrypted store at a later start: only its password opens it, and a
    // text that SQL moved into another column is shown as damaged there.
    void encryptedStoreLogin_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << QString::fromUtf8("päss") << true;
        QTest::newRow("wrong case") << QString::fromUtf8("Päss") << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("the envelope's prefix") << "nimbrel-sealed:1:" << false;
    }

    void encryptedStoreLogin()
    {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        encryptStore(QString::fromUtf8("päss"));
        store->exec("update card set name = (select value from content where id = 1) where id = 2");
        Login login;
        login.show();
        enter(entry(&login, QStringLiteral("&Password")), typed);
        QCOMPARE(login.isHidden(), opens);
        QCOMPARE(StoreKey::isInstalled(), opens);
        if (!opens) {
            QVERIFY(tells(&login, QStringLiteral("password error!</font>")) && mainWindows().isEmpty());
            return;
        }
        QCOMPARE(mainWindows().size(), 1);
        QCOMPARE(shownCards(mainWindows().first()), QString("forum,(damaged: this text cannot be read)"));
    }

    // A new password wraps the same key: no text changes, and only the new
    // password opens the store from then on.
    void encryptedPasswordChange()
    {
        encryptStore(QString::fromUtf8("päss"));
        const QString sealed = store->value("select group_concat(name || value) from card, content").toString();
        QVERIFY(loginOpens(QString::fromUtf8("päss")));
        ModalAnswer change("Set Password", QMessageBox::NoButton, [](QWidget *modal) {
            submit(modal, QString::fromUtf8("päss"), QStringLiteral("n3w"), QStringLiteral("n3w"));
        });
        trigger(mainWindows().first(), QStringLiteral("Set &Password"));
        QVERIFY(change.wait());
        QCOMPARE(store->value("select group_concat(name || value) from card, content").toString(), sealed);
        StoreKey::clear();
        QVERIFY(!loginOpens(QString::fromUtf8("päss")) && loginOpens(QStringLiteral("n3w")));
        QCOMPARE(shownCards(mainWindows().first()), QString("forum,mail"));
    }

    // The store is encrypted from the menu once its password is given again.
    void encryptFromTheMenu()
    {
        QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
        store->exec("insert into category values(1, 'Web'); insert into card values(1, 18, 'forum', 1)");
        MainWindow window;
        window.show();
        ModalAnswer encrypting("Encrypt the Store", QMessageBox::NoButton, [this](QWidget *modal) {
            QVERIFY(modal->findChild<QProgressBar *>()->isHidden());
            enter(entry(modal, QStringLiteral("&Password")), QStringLiteral("Secret"));
            QVERIFY(tells(modal, QStringLiteral("password error!</font>")));
            QCOMPARE(store->value("select name from card").toString(), QString("forum"));
            enter(entry(modal, QStringLiteral("&Password")), QStringLiteral("secret"));
        });
        trigger(&window, QStringLiteral("Encrypt the Store..."));
        QVERIFY(encrypting.wait());
        QVERIFY(store->value("select name from card").toString().startsWith("nimbrel-sealed:1:"));
        QCOMPARE(shownCards(&window), QString("forum"));
        QCOMPARE(categoryEntries(&window), QString("1:Web"));
        // Locked, the vault keeps no key.
        trigger(&window, QStringLiteral("&Lock"));
        QVERIFY(window.isLocked() && StoreKey::isLocked());
    }

    // In Chinese: the refusals read as the user reads them, and the longer
    // texts leave every widget in its place.
    void dialogsInChinese()
    {
        QTranslator chinese;
        QVERIFY(chinese.load("nimbrel_zh_CN", NIMBREL_PROGRAM_DIR));
        QCoreApplication::installTranslator(&chinese);
        QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
        Login login;
        login.show();
        SetPw setPw(nullptr, false);
        setPw.show();
        const auto shown = [](QWidget *dialog) { return label(dialog, "<font")->text(); };
        enter(entry(&login, QString::fromUtf8("密码(&P)")), QStringLiteral("wrong"));
        QCOMPARE(shown(&login), QString::fromUtf8("<font color=red>密码错误！</font>"));
        {
            OtherProgram holder(store->filePath(), QStringLiteral("BEGIN EXCLUSIVE"));
            enter(entry(&login, QString::fromUtf8("密码(&P)")), QStringLiteral("secret"));
            QCOMPARE(
                shown(&login),
                QString::fromUtf8("<font color=red>数据库正被另一个程序使用。没有丢失任何内容：请稍后再试。</font>"));
        }
        EncryptStore encrypting;
        encrypting.show();
        SetPw firstRun(nullptr, true);
        firstRun.show();
        for (const QLineEdit *edit : login.findChildren<QLineEdit *>() + setPw.findChildren<QLineEdit *>()
                 + encrypting.findChildren<QLineEdit *>())
            QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(misplacedWidgets(&login) + misplacedWidgets(&setPw) + misplacedWidgets(&firstRun)
                     + misplacedWidgets(&encrypting),
                 QStringList());
        QCoreApplication::removeTranslator(&chinese);
        QVERIFY(mainWindows().isEmpty());
    }

    // Slow work runs on another thread: the event loop goes on, and the
    // disabled dialog takes no second submit meanwhile.
    void slowWorkKeepsTheWindowsAlive()
    {
        QVERIFY(SettingsRow::setPassword(QStringLiteral("secret")));
        Login login;
        login.show();
        QLineEdit *edit = entry(&login, QStringLiteral("&Password"));
        edit->setText(QStringLiteral("secret"));
        edit->setFocus();
        bool enabledMeanwhile = true;
        bool busyCursor = false;
        QThread *worker = nullptr;
        QTimer::singleShot(10, &login, [&] {
            enabledMeanwhile = login.isEnabled();
            busyCursor = QGuiApplication::overrideCursor() != nullptr;
            QTest::keyClick(edit, Qt::Key_Return);
        });
        BusyWork::run(&login, [&worker] {
            worker = QThread::currentThread();
            QThread::msleep(200);
        });
        QVERIFY(worker && worker != QThread::currentThread());
        QVERIFY(!enabledMeanwhile && busyCursor && login.isEnabled() && !QGuiApplication::overrideCursor());
        QVERIFY(login.isVisible() && mainWindows().isEmpty());
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

        ClipboardGuard::instance()->copy(QStringLiteral("copied secret"));
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
        QVERIFY(!window.isVisible() && QGuiApplication::clipboard()->text().isEmpty());
        QCOMPARE(store->value("select name from card where id = 1").toString(), "typed");

        Login *login = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            login = login ? login : qobject_cast<Login *>(widget->isVisible() ? widget : nullptr);
        QVERIFY(login && label(login, QStringLiteral("The vault is locked. Enter the password to go on.")));
        enter(entry(login, QStringLiteral("&Password")), QStringLiteral("wrong"));
        QVERIFY(window.isLocked() && tells(login, QStringLiteral("password error!")));
        enter(entry(login, QStringLiteral("&Password")), QStringLiteral("secret"));
        QVERIFY(window.isVisible() && !window.isLocked());
        QCOMPARE(shownCards(&window), "typed");
        IdleLock::msPerMinute = 60000;
    }

private:
    QString storedPassword() const { return store->value("select password from option").toString(); }

    // Two cards, one line, encrypted under `password`; then, as at a later
    // start, the key is gone.
    void encryptStore(const QString &password)
    {
        store->exec("insert into category values(1, 'Web'); insert into card values(1, 18, 'forum', 1), "
                    "(2, 9, 'mail', 1); insert into content values(1, 'Username', 'eve', 1)");
        TestStore::encrypt(password);
        StoreKey::clear();
    }

    std::optional<TestStore> store;
};

QTEST_MAIN(TestGate)
#include "tst_gate.moc"
