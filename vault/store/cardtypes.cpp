#include "store/cardtypes.h"

#include <QCoreApplication>

#include <iterator>

namespace CardTypes {

namespace {

template<std::size_t N> constexpr LineTemplate lines(const char *const (&titles)[N])
{
    return {titles, N};
}

const char *const address[] = {
    QT_TRANSLATE_NOOP("CardForm", "First Name"), QT_TRANSLATE_NOOP("CardForm", "Last Name"),
    QT_TRANSLATE_NOOP("CardForm", "Address"),    QT_TRANSLATE_NOOP("CardForm", "City"),
    QT_TRANSLATE_NOOP("CardForm", "State"),      QT_TRANSLATE_NOOP("CardForm", "Country"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const bankAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "Bank"),     QT_TRANSLATE_NOOP("CardForm", "Account"),
    QT_TRANSLATE_NOOP("CardForm", "Password"), QT_TRANSLATE_NOOP("CardForm", "SWIFT"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const systemAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "System"),
    QT_TRANSLATE_NOOP("CardForm", "Username"),
    QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const contact[] = {
    QT_TRANSLATE_NOOP("CardForm", "First Name"), QT_TRANSLATE_NOOP("CardForm", "Last Name"),
    QT_TRANSLATE_NOOP("CardForm", "Phone"),      QT_TRANSLATE_NOOP("CardForm", "eMail"),
    QT_TRANSLATE_NOOP("CardForm", "Company"),    QT_TRANSLATE_NOOP("CardForm", "Address"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const paymentCard[] = {
    QT_TRANSLATE_NOOP("CardForm", "Bank"),      QT_TRANSLATE_NOOP("CardForm", "First Name"),
    QT_TRANSLATE_NOOP("CardForm", "Last Name"), QT_TRANSLATE_NOOP("CardForm", "Card NO."),
    QT_TRANSLATE_NOOP("CardForm", "CVC Code"),  QT_TRANSLATE_NOOP("CardForm", "Expires"),
    QT_TRANSLATE_NOOP("CardForm", "PIN"),       QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const databaseAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "Database"),
    QT_TRANSLATE_NOOP("CardForm", "Username"),
    QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const eBankAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "eBank"),      QT_TRANSLATE_NOOP("CardForm", "First Name"),
    QT_TRANSLATE_NOOP("CardForm", "Last Name"),  QT_TRANSLATE_NOOP("CardForm", "Account"),
    QT_TRANSLATE_NOOP("CardForm", "Username"),   QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Trade Code"), QT_TRANSLATE_NOOP("CardForm", "URL"),
    QT_TRANSLATE_NOOP("CardForm", "SWIFT"),      QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const eBayAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "User ID"),  QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Question"), QT_TRANSLATE_NOOP("CardForm", "Answer"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const eMailAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "Site Name"), QT_TRANSLATE_NOOP("CardForm", "Username"),
    QT_TRANSLATE_NOOP("CardForm", "Password"),  QT_TRANSLATE_NOOP("CardForm", "URL"),
    QT_TRANSLATE_NOOP("CardForm", "POP3"),      QT_TRANSLATE_NOOP("CardForm", "SMTP"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const generalPurpose[] = {
    QT_TRANSLATE_NOOP("CardForm", "Card Name"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const mobilePhone[] = {
    QT_TRANSLATE_NOOP("CardForm", "Phone"), QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "PIN"),   QT_TRANSLATE_NOOP("CardForm", "PIN2"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const paypalAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "Username"),  QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Question1"), QT_TRANSLATE_NOOP("CardForm", "Answer1"),
    QT_TRANSLATE_NOOP("CardForm", "Question2"), QT_TRANSLATE_NOOP("CardForm", "Answer2"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const serialNumber[] = {
    QT_TRANSLATE_NOOP("CardForm", "Brand"),
    QT_TRANSLATE_NOOP("CardForm", "Serial NO."),
    QT_TRANSLATE_NOOP("CardForm", "Model NO."),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const taobaoAccount[] = {
    QT_TRANSLATE_NOOP("CardForm", "Username"),   QT_TRANSLATE_NOOP("CardForm", "Password"),
    QT_TRANSLATE_NOOP("CardForm", "Trade Code"), QT_TRANSLATE_NOOP("CardForm", "Question"),
    QT_TRANSLATE_NOOP("CardForm", "Answer"),     QT_TRANSLATE_NOOP("CardForm", "Note"),
};
const char *const website[] = {
    QT_TRANSLATE_NOOP("CardForm", "Site Name"), QT_TRANSLATE_NOOP("CardForm", "Username"),
    QT_TRANSLATE_NOOP("CardForm", "Password"),  QT_TRANSLATE_NOOP("CardForm", "URL"),
    QT_TRANSLATE_NOOP("CardForm", "Note"),
};

// In id order: the id of a type is its position plus one.
const CardType types[] = {
    {QT_TRANSLATE_NOOP("QObject", "Address"), ":/cardicon/address.png", lines(address)},
    {QT_TRANSLATE_NOOP("QObject", "Bank Account"), ":/cardicon/bank.png", lines(bankAccount)},
    {QT_TRANSLATE_NOOP("QObject", "Computer Account"), ":/cardicon/computer.png", lines(systemAccount)},
    {QT_TRANSLATE_NOOP("QObject", "Contact"), ":/cardicon/contact.png", lines(contact)},
    {QT_TRANSLATE_NOOP("QObject", "Credit Card"), ":/cardicon/credit.png", lines(paymentCard)},
    {QT_TRANSLATE_NOOP("QObject", "Database Account"), ":/cardicon/database.png", lines(databaseAccount)},
    {QT_TRANSLATE_NOOP("QObject", "eBank Account"), ":/cardicon/ebank.png", lines(eBankAccount)},
    {QT_TRANSLATE_NOOP("QObject", "eBay Account"), ":/cardicon/ebay.png", lines(eBayAccount)},
    {QT_TRANSLATE_NOOP("QObject", "eMail Account"), ":/cardicon/email.png", lines(eMailAccount)},
    {QT_TRANSLATE_NOOP("QObject", "General Purpose"), ":/cardicon/general.png", lines(generalPurpose)},
    {QT_TRANSLATE_NOOP("QObject", "Master Card"), ":/cardicon/master.png", lines(paymentCard)},
    {QT_TRANSLATE_NOOP("QObject", "Mobile Phone"), ":/cardicon/mobilephone.png", lines(mobilePhone)},
    {QT_TRANSLATE_NOOP("QObject", "Password"), ":/cardicon/password.png", lines(systemAccount)},
    {QT_TRANSLATE_NOOP("QObject", "Paypal Account"), ":/cardicon/paypal.png", lines(paypalAccount)},
    {QT_TRANSLATE_NOOP("QObject", "Serial Number"), ":/cardicon/serial.png", lines(serialNumber)},
    {QT_TRANSLATE_NOOP("QObject", "Taobao Account"), ":/cardicon/taobao.png", lines(taobaoAccount)},
    {QT_TRANSLATE_NOOP("QObject", "Visa Card"), ":/cardicon/visa.png", lines(paymentCard)},
    {QT_TRANSLATE_NOOP("QObject", "Website"), ":/cardicon/website.png", lines(website)},
};
static_assert(std::size(types) == count, "one descriptor for each card type");
static_assert(newCardType >= 1 && newCardType <= count, "a new card has one of the types");

} // namespace

const CardType *find(int id)
{
    return id >= 1 && id <= count ? &types[id - 1] : nullptr;
}

QString sourceName(int id)
{
    const CardType *type = find(id);
    return type ? QString::fromLatin1(type->sourceName) : QString();
}

QString translatedName(int id)
{
    const CardType *type = find(id);
    return type ? QCoreApplication::translate("QObject", type->sourceName) : QString();
}

QString iconPath(int id)
{
    const CardType *type = find(id);
    return type ? QString::fromLatin1(type->icon) : QString();
}

const QStringList &sourceNames()
{
    static const QStringList names = [] {
        QStringList all;
        for (int id = 1; id <= count; ++id)
            all.append(sourceName(id));
        return all;
    }();
    return names;
}

} // namespace CardTypes
