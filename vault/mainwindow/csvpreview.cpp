#include "mainwindow/csvpreview.h"

#include "store/cardtypes.h"
#include "widgets/buttonrow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Passwords stay off the screen; the rest shows what goes where.
QString linesText(const CsvCard &card)
{
    const QString password = QCoreApplication::translate("CardForm", "Password");
    QStringList lines;
    for (const auto &line : card.lines) {
        const bool secret =
            line.first == password || line.first.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0;
        lines << line.first + QStringLiteral(": ") + (secret ? QString(8, QChar(0x2022)) : line.second);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CsvPreview::CsvPreview(const QString &layoutName, const QList<CsvCard> &cards, const QString &ownCategory,
                       QWidget *parent)
    : QDialog(parent)
{
    auto *summary = new QLabel(
        tr("Recognised layout: %1\nRows that will become cards: %2. The first ones:").arg(layoutName).arg(cards.size()),
        this);
    summary->setTextFormat(Qt::PlainText);
    summary->setObjectName(QStringLiteral("csvSummary"));

    const int rows = int(qMin<qsizetype>(cards.size(), shownCards));
    table = new QTableWidget(rows, 4, this);
    table->setHorizontalHeaderLabels({tr("Category"), tr("Type"), tr("Name"), tr("Lines")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < rows; ++row) {
        const CsvCard &card = cards.at(row);
        const QStringList cells = {card.category.isEmpty() ? ownCategory : card.category,
                                   CardTypes::translatedName(card.type), card.name, linesText(card)};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();

    const ButtonRow buttons = ButtonRow::make(this, tr("&Import"), tr("&Cancel"));
    buttons.layout->insertStretch(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table);
    layout->addLayout(buttons.layout);
    setWindowTitle(tr("Import CSV"));
    resize(640, 320);
}
