#ifndef CSVPREVIEW_H
#define CSVPREVIEW_H

#include "store/csvlayout.h"

#include <QDialog>

class QTableWidget;

// Shows what a CSV file will become before anything is stored: the layout
// recognised, the number of cards and the first few as cards, and asks
// whether to import them.
class CsvPreview : public QDialog
{
    Q_OBJECT

public:
    CsvPreview(const QString &layoutName, const QList<CsvCard> &cards, const QString &ownCategory,
               QWidget *parent = nullptr);

    static constexpr int shownCards = 3;

private:
    QTableWidget *table = nullptr;
};

#endif
