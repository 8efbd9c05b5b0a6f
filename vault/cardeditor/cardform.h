#ifndef CARDFORM_H
#define CARDFORM_H

#include <QDialog>

// The card editor: the lines (title and value) of one card.
class CardForm : public QDialog
{
    Q_OBJECT

public:
    explicit CardForm(QWidget *parent = nullptr);

    // Writes the pending lines; on failure tells the user and returns false.
    bool writePending();

private slots:
    void recvOpenCard(int id, int type);

private:
    int cardId = 0;
};

#endif
