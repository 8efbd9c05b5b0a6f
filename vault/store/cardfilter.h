#ifndef CARDFILTER_H
#define CARDFILTER_H

#include <QObject>
#include <QString>

// Which cards the card table shows: those of one category, or all, narrowed
// to a find text when there is one. This is the one owner of that choice:
// it keeps the category choice in the settings row, and what shows the
// choice (the category menu's check, the card table) follows its signals.
class CardFilter : public QObject
{
    Q_OBJECT

public:
    explicit CardFilter(QObject *parent = nullptr);

    // The category shown; SettingsRow::allCategories for all cards. A
    // category deleted while shown stays the one shown: it shows no cards.
    int category() const { return shownCategory; }
    // The find text, empty when the cards are not narrowed.
    QString text() const { return findText; }

    // Shows the stored choice. When it cannot be read, all cards are shown
    // and false is returned, with the reason.
    bool load(QString *error = nullptr);

    // Shows the category (SettingsRow::allCategories: all cards) and stores
    // the choice. When the store refuses it, nothing changes and false is
    // returned, with the reason in the user's words and the driver's.
    // A store opened only to be read shows the choice without storing it.
    bool choose(int categoryId, QString *error = nullptr, QString *detail = nullptr);

    // Narrows the cards to those that hold the text; an empty text ends the
    // narrowing. The text is never stored.
    void find(const QString &text);

    // The card model's filter for what is shown; false, with the reason,
    // when the texts to find in could not be read.
    bool modelFilter(QString *filter, QString *error) const;

signals:
    // The category shown, after a load and after every choice, a refused
    // one too: a check that moved with the choice goes back.
    void categoryShown(int categoryId);
    // What is shown changed (or is to be read again): the cards are to be
    // read with the new filter.
    void changed();

private:
    int shownCategory;
    QString findText;
};

#endif
