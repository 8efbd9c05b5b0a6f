#include "cardeditor/cardform.h"

CardForm::CardForm(QWidget *parent)
    : QDialog(parent)
{
}

bool CardForm::writePending()
{
    return true;
}

void CardForm::recvOpenCard(int id, int type)
{
    Q_UNUSED(type);
    cardId = id;
}
