#include "access/passwordcheck.h"

#include "access/busywork.h"
#include "plaintext.h"
#include "widgets/tablesupport.h"

#include <QCoreApplication>
#include <QLabel>

namespace PasswordCheck {

Outcome run(QWidget *window, const QString &typed, bool unlock)
{
    StoreEncryption::KeyCheck check = StoreEncryption::readStored();
    BusyWork::run(window, [&check, &typed] { StoreEncryption::compare(check, typed); });
    Outcome outcome;
    outcome.result = StoreEncryption::finish(check, unlock);
    outcome.error = check.error;
    outcome.heldElsewhere = check.heldElsewhere;
    return outcome;
}

QString cannotCheck(const Outcome &outcome, const QString &reason, QString *detail)
{
    if (outcome.heldElsewhere) {
        *detail = outcome.error;
        return QStringLiteral("<font color=red>%1</font>").arg(TableSupport::inUseText().toHtmlEscaped());
    }
    detail->clear();
    return reason.arg(outcome.error.toHtmlEscaped());
}

QString refusal(const Outcome &outcome, QString *detail)
{
    detail->clear();
    switch (outcome.result) {
    case StoreEncryption::Check::Matches:
        return QString();
    case StoreEncryption::Check::Differs:
        return QCoreApplication::translate("Login", "<font color=red>password error!</font>");
    case StoreEncryption::Check::Unreadable:
        break;
    }
    return cannotCheck(
        outcome, QCoreApplication::translate("Login", "<font color=red>The password cannot be checked: %1</font>"),
        detail);
}

void show(QLabel *label, const QString &message, const QString &detail)
{
    label->setText(message);
    label->setToolTip(detail.isEmpty() ? QString() : PlainText::toolTip(detail));
}

} // namespace PasswordCheck
