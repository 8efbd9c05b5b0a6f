#ifndef CSVLAYOUT_H
#define CSVLAYOUT_H

#include "store/csvfile.h"

#include <QList>
#include <QPair>
#include <QString>

// A card as a row of a CSV file gives it, before it is stored.
struct CsvCard
{
    int type = 0;
    QString name;
    // Empty: the import's own category.
    QString category;
    // Title and value, in order.
    QList<QPair<QString, QString>> lines;
};

// What the header of a CSV file says about its columns: which program wrote
// it, and what each column becomes on a card. Exports of browsers and
// password managers are recognised by their headers, so that nobody has to
// map columns by hand.
class CsvLayout
{
public:
    // The layout of a header row; isKnown() is false for a header without
    // any column the program knows.
    static CsvLayout recognise(const QStringList &header);

    bool isKnown() const { return kind != Kind::Unknown; }
    // The layout's name as the user knows it ("Bitwarden", "Firefox", ...).
    QString name() const;

    // The cards of the rows after the header. False, with the row's line and
    // what is wrong with it, for a row with more fields than the header or,
    // in this program's own layout, an unknown card type.
    bool cards(const QList<CsvFile::Row> &rows, QList<CsvCard> *cards, QString *error, int *errorLine) const;

    // This program's own layout, which cards() reads back to the same cards:
    // "category,type,name" and then a "title,value" pair per line, the type
    // by its English name; one row per card.
    static QStringList ownHeader(int linePairs);
    static QStringList ownRow(const CsvCard &card);

    // The source texts of the Website template's titles, in order, and of
    // the line that holds a note.
    static const char *const websiteTitles[5];

    enum class Kind { Unknown, Own, Chrome, Firefox, Safari, Bitwarden, LastPass, KeePassXC, Generic };
    // What a column becomes on a card.
    enum class Role { Extra, Name, Url, Username, Password, Note, Folder, Kind, Ignored };

private:
    bool rowCard(const CsvFile::Row &row, CsvCard *card, QString *error) const;
    bool ownCard(const CsvFile::Row &row, CsvCard *card, QString *error) const;

    Kind kind = Kind::Unknown;
    QStringList titles;
    QList<Role> roles;
};

#endif
