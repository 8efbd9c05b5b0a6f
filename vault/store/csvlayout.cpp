#include "store/csvlayout.h"

#include "store/cardtypes.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QUrl>

namespace {

constexpr int websiteType = 18;
constexpr int generalPurposeType = 10;

QString tr(const char *text)
{
    return QCoreApplication::translate("CsvLayout", text);
}

QString cardTitle(const char *title)
{
    return QCoreApplication::translate("CardForm", title);
}

QString key(const QString &header)
{
    return header.trimmed().toLower();
}

// Header names that all layouts share; anything else is a line of its own
// under its header.
const QHash<QString, int> &roleNames()
{
    static const QHash<QString, int> names = [] {
        QHash<QString, int> n;
        for (const char *name : {"name", "title"})
            n.insert(QLatin1String(name), 1);
        for (const char *name : {"url", "login_uri", "website", "uri", "web site"})
            n.insert(QLatin1String(name), 2);
        for (const char *name : {"username", "login_username", "user name", "user", "login"})
            n.insert(QLatin1String(name), 3);
        for (const char *name : {"password", "login_password"})
            n.insert(QLatin1String(name), 4);
        for (const char *name : {"note", "notes", "extra", "comment", "comments"})
            n.insert(QLatin1String(name), 5);
        for (const char *name : {"folder", "group", "grouping", "category"})
            n.insert(QLatin1String(name), 6);
        // Bookkeeping of the program that wrote the file: nothing the user typed.
        for (const char *name : {"favorite", "fav", "reminder", "httprealm", "formactionorigin", "guid", "timecreated",
                                 "timelastused", "timepasswordchanged", "icon", "last modified", "created", "id"})
            n.insert(QLatin1String(name), 8);
        return n;
    }();
    return names;
}

bool hasAll(const QSet<QString> &keys, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (!keys.contains(QLatin1String(name)))
            return false;
    }
    return true;
}

QString hostOf(const QString &url)
{
    const QUrl parsed = QUrl::fromUserInput(url.trimmed());
    return parsed.host();
}

int typeOf(const QString &text)
{
    bool number = false;
    const int id = text.trimmed().toInt(&number);
    const QStringList &names = CardTypes::sourceNames();
    if (number)
        return id >= 1 && id <= names.size() ? id : 0;
    for (int i = 1; i <= names.size(); ++i) {
        if (text.trimmed().compare(names.at(i - 1), Qt::CaseInsensitive) == 0
            || text.trimmed() == CardTypes::translatedName(i))
            return i;
    }
    return 0;
}

} // namespace

const char *const CsvLayout::websiteTitles[5] = {
    QT_TRANSLATE_NOOP("CardForm", "Site Name"), QT_TRANSLATE_NOOP("CardForm", "Username"),
    QT_TRANSLATE_NOOP("CardForm", "Password"), QT_TRANSLATE_NOOP("CardForm", "URL"),
    QT_TRANSLATE_NOOP("CardForm", "Note")};

CsvLayout CsvLayout::recognise(const QStringList &header)
{
    CsvLayout layout;
    QSet<QString> keys;
    for (const QString &name : header)
        keys.insert(key(name));
    layout.titles = header;
    for (QString &title : layout.titles)
        title = title.trimmed();

    const bool own = header.size() >= 3 && key(header.at(0)) == QLatin1String("category")
        && key(header.at(1)) == QLatin1String("type") && key(header.at(2)) == QLatin1String("name");
    if (own) {
        bool pairs = true;
        for (int i = 3; i < header.size(); ++i)
            pairs = pairs && key(header.at(i)) == QLatin1String(i % 2 ? "title" : "value");
        if (pairs) {
            layout.kind = Kind::Own;
            return layout;
        }
    }

    if (hasAll(keys, {"folder", "type", "name", "login_uri", "login_username", "login_password"}))
        layout.kind = Kind::Bitwarden;
    else if (hasAll(keys, {"url", "username", "password", "extra", "name", "grouping"}))
        layout.kind = Kind::LastPass;
    else if (hasAll(keys, {"group", "title", "username", "password", "url", "notes"}))
        layout.kind = Kind::KeePassXC;
    else if (hasAll(keys, {"title", "url", "username", "password", "notes", "otpauth"}))
        layout.kind = Kind::Safari;
    else if (hasAll(keys, {"url", "username", "password", "httprealm", "formactionorigin", "guid"}))
        layout.kind = Kind::Firefox;
    else if (hasAll(keys, {"name", "url", "username", "password"})
             && (keys.size() == 4 || (keys.size() == 5 && keys.contains(QStringLiteral("note")))))
        layout.kind = Kind::Chrome;

    bool knownColumn = false;
    for (const QString &name : header) {
        const int role = roleNames().value(key(name), 0);
        Role r = static_cast<Role>(role);
        if (key(name) == QLatin1String("type") && layout.kind == Kind::Bitwarden)
            r = Role::Kind;
        // The columns that say where, who and with what a user logs in.
        knownColumn = knownColumn || r == Role::Url || r == Role::Username || r == Role::Password;
        layout.roles.append(r);
    }
    if (layout.kind == Kind::Unknown && knownColumn)
        layout.kind = Kind::Generic;
    return layout;
}

QString CsvLayout::name() const
{
    switch (kind) {
    case Kind::Own:
        return QStringLiteral("Nimbrel");
    case Kind::Chrome:
        return tr("Chrome or Edge");
    case Kind::Firefox:
        return QStringLiteral("Firefox");
    case Kind::Safari:
        return QStringLiteral("Safari");
    case Kind::Bitwarden:
        return QStringLiteral("Bitwarden");
    case Kind::LastPass:
        return QStringLiteral("LastPass");
    case Kind::KeePassXC:
        return QStringLiteral("KeePassXC");
    case Kind::Generic:
        return tr("CSV with a header row");
    case Kind::Unknown:
        break;
    }
    return QString();
}

bool CsvLayout::cards(const QList<CsvFile::Row> &rows, QList<CsvCard> *cards, QString *error, int *errorLine) const
{
    cards->reserve(rows.size());
    for (const CsvFile::Row &row : rows) {
        if (row.fields.size() > titles.size()) {
            *errorLine = row.line;
            *error = tr("This row has %1 fields, more than the %2 columns of the header.")
                         .arg(row.fields.size())
                         .arg(titles.size());
            return false;
        }
        CsvCard card;
        if (!(kind == Kind::Own ? ownCard(row, &card, error) : rowCard(row, &card, error))) {
            *errorLine = row.line;
            return false;
        }
        cards->append(card);
    }
    return true;
}

bool CsvLayout::rowCard(const CsvFile::Row &row, CsvCard *card, QString *) const
{
    QString fields[9];
    QList<QPair<QString, QString>> extras;
    for (int i = 0; i < row.fields.size(); ++i) {
        const Role role = roles.at(i);
        if (role == Role::Extra) {
            if (!row.fields.at(i).isEmpty())
                extras.append({titles.at(i), row.fields.at(i)});
        } else if (fields[int(role)].isEmpty()) {
            fields[int(role)] = row.fields.at(i);
        }
    }
    const QString &url = fields[int(Role::Url)];
    const bool note = (kind == Kind::Bitwarden && key(fields[int(Role::Kind)]) == QLatin1String("note"))
        || (kind == Kind::LastPass && url.trimmed() == QLatin1String("http://sn"));
    card->type = note ? generalPurposeType : websiteType;
    card->name = fields[int(Role::Name)].trimmed();
    if (card->name.isEmpty())
        card->name = hostOf(url);
    if (card->name.isEmpty())
        card->name = url.trimmed();
    card->category = fields[int(Role::Folder)].trimmed();
    if (note) {
        if (!fields[int(Role::Note)].isEmpty())
            card->lines.append({cardTitle(websiteTitles[4]), fields[int(Role::Note)]});
    } else {
        const Role order[] = {Role::Name, Role::Username, Role::Password, Role::Url, Role::Note};
        for (int i = 0; i < 5; ++i) {
            if (!fields[int(order[i])].isEmpty())
                card->lines.append({cardTitle(websiteTitles[i]), fields[int(order[i])]});
        }
    }
    card->lines.append(extras);
    return true;
}

bool CsvLayout::ownCard(const CsvFile::Row &row, CsvCard *card, QString *error) const
{
    const QString typeText = row.fields.value(1);
    card->type = typeOf(typeText);
    if (card->type == 0) {
        *error = tr("\"%1\" is not a card type.").arg(typeText);
        return false;
    }
    card->category = row.fields.value(0);
    card->name = row.fields.value(2);
    for (int i = 3; i < row.fields.size(); i += 2)
        card->lines.append({row.fields.at(i), row.fields.value(i + 1)});
    // Spreadsheets fill short rows up to the header's width.
    while (!card->lines.isEmpty() && card->lines.last().first.isEmpty() && card->lines.last().second.isEmpty())
        card->lines.removeLast();
    return true;
}

QStringList CsvLayout::ownHeader(int linePairs)
{
    QStringList header = {QStringLiteral("category"), QStringLiteral("type"), QStringLiteral("name")};
    for (int i = 0; i < linePairs; ++i)
        header << QStringLiteral("title") << QStringLiteral("value");
    return header;
}

QStringList CsvLayout::ownRow(const CsvCard &card)
{
    QStringList row = {card.category, CardTypes::sourceNames().value(card.type - 1, QString::number(card.type)),
                       card.name};
    for (const auto &line : card.lines)
        row << line.first << line.second;
    return row;
}
