#ifndef PASSWORDCHECK_H
#define PASSWORDCHECK_H

#include "store/storeencryption.h"

#include <QString>

class QLabel;
class QWidget;

// The typed password checked against the store's, the slow part off the
// window's thread (see BusyWork), and what the dialogs say when it fails.
namespace PasswordCheck {

struct Outcome
{
    StoreEncryption::Check result = StoreEncryption::Check::Unreadable;
    QString error;
    bool heldElsewhere = false;
};

// Checks `typed` while `window` shows it is busy; with `unlock`, a right
// password of an encrypted store opens the vault (StoreEncryption::finish).
Outcome run(QWidget *window, const QString &typed, bool unlock);

// The red message that tells why a login failed ("password error!", or why
// the password cannot be checked), empty when the password matched. The
// driver's words are a detail: `detail` gets them, for a tool tip.
QString refusal(const Outcome &outcome, QString *detail);

// A refusal that the password cannot be checked, after `reason` ("The
// password cannot be checked: %1"): another program's lock is told the way
// every window tells it, with the driver's words in `detail`.
QString cannotCheck(const Outcome &outcome, const QString &reason, QString *detail);

// Shows a message made by refusal() or cannotCheck() in `label`.
void show(QLabel *label, const QString &message, const QString &detail);

} // namespace PasswordCheck

#endif
