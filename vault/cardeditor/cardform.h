#ifndef CARDFORM_H
#define CARDFORM_H

#include <QDialog>

class QPushButton;
class QSqlRecord;
class QTableView;
class StoreTableModel;

// The card editor: the lines (title and value) of one card. The main window
// keeps one and loads every card it opens into it.
class CardForm : public QDialog
{
    Q_OBJECT

public:
    explicit CardForm(QWidget *parent = nullptr);

    // Writes the pending lines (an open cell editor's text first); on
    // failure tells the user, keeps them pending and returns false.
    bool writePending();

    // The card whose lines are shown.
    int shownCard() const { return cardId; }

    // The card has been deleted: when it is the one shown, its pending lines
    // are dropped unwritten and the editor is hidden.
    void forgetCard(int id);

    // Appends the template lines of a card type (pending); false and
    // nothing added for a type outside 1 to 18.
    bool addTemplateContent(int type);

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void copy();
    void paste();
    void addContent();
    void deleteContent();
    void beforeInsertContent(QSqlRecord &record);
    void recvOpenCard(int id, int type);
    void generatePassword();

private:
    void createModel();
    void createView();
    void createMenuAndButtons();
    void appendLine(int row, const QString &title);
    // The value cell the user has chosen, or an invalid index.
    QModelIndex chosenValueCell() const;

    StoreTableModel *model = nullptr;
    QTableView *view = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *closeButton = nullptr;
    int cardId = 0;
};

#endif
