// The lines a card of each type starts with.
#include "cardeditor/cardform.h"

#include <QCoreApplication>

#include <array>
#include <vector>

namespace {

using Template = std::vector<const char *>;

const Template paymentCard = {
    QT_TRANSLATE_NOOP("CardForm", "Bank"),      QT_TRANSLATE_NOOP("CardForm", "First Name"),
    QT_TRANSLATE_NOOP("CardForm", "Last Name"), QT_TRANSLATE_NOOP("CardForm", "Card NO."),
    QT_TRANSLATE_NOOP("CardForm", "CVC Code"),  QT_TRANSLATE_NOOP("CardForm", "Expires"),
    QT_TRANSLATE_NOOP("CardForm", "PIN"),       QT_TRANSLATE_NOOP("CardForm", "Note"),
};

const Template systemAccount = {
    QT_TRANSLATE_NOOP("CardForm", "System"),
    QT_TRANSLATE_NOOP("CardForm", "Username"),
    QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};

// Indexed by card type id minus one.
const std::array<Template, 18> templates = {{
    {QT_TRANSLATE_NOOP("CardForm", "First Name"), QT_TRANSLATE_NOOP("CardForm", "Last Name"),
     QT_TRANSLATE_NOOP("CardForm", "Address"), QT_TRANSLATE_NOOP("CardForm", "City"),
     QT_TRANSLATE_NOOP("CardForm", "State"), QT_TRANSLATE_NOOP("CardForm", "Country"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "Bank"), QT_TRANSLATE_NOOP("CardForm", "Account"),
     QT_TRANSLATE_NOOP("CardForm", "Password"), QT_TRANSLATE_NOOP("CardForm", "SWIFT"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    systemAccount,
    {QT_TRANSLATE_NOOP("CardForm", "First Name"), QT_TRANSLATE_NOOP("CardForm", "Last Name"),
     QT_TRANSLATE_NOOP("CardForm", "Phone"), QT_TRANSLATE_NOOP("CardForm", "eMail"),
     QT_TRANSLATE_NOOP("CardForm", "Company"), QT_TRANSLATE_NOOP("CardForm", "Address"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    paymentCard,
    {QT_TRANSLATE_NOOP("CardForm", "Database"), QT_TRANSLATE_NOOP("CardForm", "Username"),
     QT_TRANSLATE_NOOP("CardForm", "Password"), QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "eBank"), QT_TRANSLATE_NOOP("CardForm", "First Name"),
     QT_TRANSLATE_NOOP("CardForm", "Last Name"), QT_TRANSLATE_NOOP("CardForm", "Account"),
     QT_TRANSLATE_NOOP("CardForm", "Username"), QT_TRANSLATE_NOOP("CardForm", "Password"),
     QT_TRANSLATE_NOOP("CardForm", "Trade Code"), QT_TRANSLATE_NOOP("CardForm", "URL"),
     QT_TRANSLATE_NOOP("CardForm", "SWIFT"), QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "User ID"), QT_TRANSLATE_NOOP("CardForm", "Password"),
     QT_TRANSLATE_NOOP("CardForm", "Question"), QT_TRANSLATE_NOOP("CardForm", "Answer"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "Site Name"), QT_TRANSLATE_NOOP("CardForm", "Username"),
     QT_TRANSLATE_NOOP("CardForm", "Password"), QT_TRANSLATE_NOOP("CardForm", "URL"),
     QT_TRANSLATE_NOOP("CardForm", "POP3"), QT_TRANSLATE_NOOP("CardForm", "SMTP"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "Card Name"), QT_TRANSLATE_NOOP("CardForm", "Note")},
    paymentCard,
    {QT_TRANSLATE_NOOP("CardForm", "Phone"), QT_TRANSLATE_NOOP("CardForm", "Password"),
     QT_TRANSLATE_NOOP("CardForm", "PIN"), QT_TRANSLATE_NOOP("CardForm", "PIN2"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    systemAccount,
    {QT_TRANSLATE_NOOP("CardForm", "Username"), QT_TRANSLATE_NOOP("CardForm", "Password"),
     QT_TRANSLATE_NOOP("CardForm", "Question1"), QT_TRANSLATE_NOOP("CardForm", "Answer1"),
     QT_TRANSLATE_NOOP("CardForm", "Question2"), QT_TRANSLATE_NOOP("CardForm", "Answer2"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "Brand"), QT_TRANSLATE_NOOP("CardForm", "Serial NO."),
     QT_TRANSLATE_NOOP("CardForm", "Model NO."), QT_TRANSLATE_NOOP("CardForm", "Note")},
    {QT_TRANSLATE_NOOP("CardForm", "Username"), QT_TRANSLATE_NOOP("CardForm", "Password"),
     QT_TRANSLATE_NOOP("CardForm", "Trade Code"), QT_TRANSLATE_NOOP("CardForm", "Question"),
     QT_TRANSLATE_NOOP("CardForm", "Answer"), QT_TRANSLATE_NOOP("CardForm", "Note")},
    paymentCard,
    {QT_TRANSLATE_NOOP("CardForm", "Site Name"), QT_TRANSLATE_NOOP("CardForm", "Username"),
     QT_TRANSLATE_NOOP("CardForm", "Password"), QT_TRANSLATE_NOOP("CardForm", "URL"),
     QT_TRANSLATE_NOOP("CardForm", "Note")},
}};

} // namespace

bool CardForm::addTemplateContent(int type)
{
    if (type < 1 || type > int(templates.size()))
        return false;
    int row = 0;
    for (const char *title : templates[type - 1])
        appendLine(row++, tr(title));
    return true;
}
