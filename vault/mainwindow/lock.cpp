// Locking the vault: by hand, and by itself after a time without input.
#include "mainwindow/mainwindow.h"

#include "access/idlelock.h"
#include "access/login.h"
#include "cardeditor/clipboardguard.h"
#include "store/settingtable.h"
#include "store/storekey.h"
#include "plaintext.h"
#include "widgets/qmenuex.h"
#include "widgets/tablesupport.h"

#include <QActionGroup>
#include <QApplication>

namespace {

const QString lockSetting = QStringLiteral("lock_minutes");

} // namespace

void MainWindow::createLockEntries(QMenuEx *optionsMenu)
{
    QAction *lockAction = TableSupport::makeAction(
        this, tr("&Lock"), tr("lock the vault: hide every window until the password is given again"),
        QStringLiteral(":/menuicon/login.png"), tr("ctrl+L"));
    connect(lockAction, &QAction::triggered, this, &MainWindow::lockVault);

    idleLock = new IdleLock(this);
    bool known = false;
    const int stored = SettingTable::value(lockSetting).value_or(QString()).toInt(&known);
    if (known && IdleLock::choices().contains(stored))
        idleLock->setMinutes(stored);
    connect(idleLock, &IdleLock::idle, this, [this] {
        // A dialog that is open holds edits of its own; the vault waits for it.
        if (QApplication::activeModalWidget())
            idleLock->restart();
        else
            lockVault();
    });

    auto *afterMenu = new QMenuEx(tr("Lock &After"), optionsMenu);
    auto *afterGroup = new QActionGroup(afterMenu);
    for (int minutes : IdleLock::choices()) {
        const QString text = minutes == 0 ? tr("Never") : minutes == 1 ? tr("1 minute") : tr("%1 minutes").arg(minutes);
        QAction *entry = TableSupport::makeAction(
            afterMenu, text, tr("lock the vault after this long without keyboard or mouse input"), QString());
        entry->setCheckable(true);
        entry->setChecked(minutes == idleLock->minutes());
        afterGroup->addAction(entry);
        afterMenu->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, minutes, afterGroup] {
            QString error;
            if (!SettingTable::setValue(lockSetting, QString::number(minutes), &error)) {
                PlainText::tell(this, QMessageBox::Warning, tr("Lock"),
                                tr("The choice could not be stored:\n%1").arg(error));
                afterGroup->actions().at(IdleLock::choices().indexOf(idleLock->minutes()))->setChecked(true);
                return;
            }
            idleLock->setMinutes(minutes);
        });
    }
    optionsMenu->addAction(lockAction);
    optionsMenu->addMenu(afterMenu);
}

void MainWindow::lockVault()
{
    if (unlockLogin && unlockLogin->isVisible())
        return;
    // Nothing typed is lost: what cannot be written keeps the vault open.
    if (!savePendingEdits()) {
        PlainText::tell(this, QMessageBox::Warning, tr("Lock"),
                        tr("The vault stays unlocked: your changes could not be saved first."));
        idleLock->restart();
        return;
    }
    idleLock->stop();
    lockedWindows.clear();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != unlockLogin) {
            lockedWindows.append(window);
            window->hide();
        }
    }
    ClipboardGuard::instance()->clearCopy();
    // An encrypted store's texts stay sealed until the password is given
    // again; the hidden windows read nothing meanwhile.
    StoreKey::lock();
    if (!unlockLogin) {
        unlockLogin = new Login;
        unlockLogin->setAttribute(Qt::WA_QuitOnClose, true);
        unlockLogin->setUnlock([this] { unlockVault(); });
    }
    unlockLogin->setWindowTitle(tr("Vault locked"));
    unlockLogin->show();
    unlockLogin->raise();
    unlockLogin->activateWindow();
}

void MainWindow::unlockVault()
{
    for (const QPointer<QWidget> &window : std::as_const(lockedWindows)) {
        if (window)
            window->show();
    }
    lockedWindows.clear();
    raise();
    activateWindow();
    idleLock->restart();
}

bool MainWindow::isLocked() const
{
    return unlockLogin && unlockLogin->isVisible();
}
