#include "cardwindow.h"

#include "cardeditor/mydelegate.h"

#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QSqlTableModel>

namespace {

// Records the text the delegate hands to the display step.
class RecordingDelegate : public myDelegate
{
public:
    mutable QString text;

protected:
    void drawDisplay(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                     const QString &displayText) const override
    {
        text = displayText;
        myDelegate::drawDisplay(painter, option, rect, displayText);
    }
};

// Opens the combo box of a type or category cell, picks an entry (-1: none,
// the cell is only tabbed through) and tabs on.
void pickEntry(CardWindow &w, int row, int column, int entry)
{
    const QModelIndex cell = w.cards()->index(row, column);
    w.view()->setCurrentIndex(cell);
    w.view()->edit(cell);
    auto *combo = qobject_cast<QComboBox *>(w.openCell(w.view()));
    QVERIFY(combo);
    if (entry >= 0)
        combo->setCurrentIndex(entry);
    QTest::keyClick(combo, Qt::Key_Tab);
    QTRY_VERIFY(!w.view()->indexWidget(cell));
}

} // namespace

class TestDelegate : public QObject
{
    Q_OBJECT

private slots:
    void paintingAndChoosing();
};

void TestDelegate::paintingAndChoosing()
{
    CardWindow w;
    w.store.exec("insert into category values(1, 'Home'), (2, 'Home')");
    w.store.exec("update cardtype set name = 'Site' where id = 18");
    w.store.exec("insert into card values(1, 13, 'a', 2), (2, 18, 'b', 5), (3, 40, 'c', 0)");
    w.open();
    RecordingDelegate delegate;
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 240, 36);
    QImage image(option.rect.size(), QImage::Format_RGB32);
    // Paints one cell on white and gives the place of the type icon.
    const auto paint = [&](int row, int column) {
        image.fill(Qt::white);
        QPainter painter(&image);
        delegate.paint(&painter, option, w.cards()->index(row, column));
        return image.copy(0, 2, 32, 32);
    };

    // The stored type name beside its icon; a type outside 1 to 18 without a
    // stored name, and an unknown category, as nothing.
    const QImage blank = paint(2, 1);
    QCOMPARE(delegate.text, QString());
    QCOMPARE(paint(1, 3), blank);
    QCOMPARE(delegate.text, QString());
    QVERIFY(paint(1, 1) != blank);
    QCOMPARE(delegate.text, QStringLiteral("Site"));
    for (int type = 1; type <= 18; ++type)
        QVERIFY2(QFile::exists(delegate.iconPath(type)), qPrintable(delegate.iconPath(type)));

    // Tabbing through the second "Home", or a category not in the list, changes nothing.
    pickEntry(w, 0, 3, -1);
    pickEntry(w, 1, 3, -1);
    QVERIFY(!qobject_cast<QSqlTableModel *>(w.cards())->isDirty());

    // The first "Home" and "Website" stay pending until the next write.
    pickEntry(w, 0, 3, 0);
    pickEntry(w, 0, 1, 17);
    const QString select = "select type || ',' || categoryid from card where id = 1";
    QCOMPARE(w.store.value(select).toString(), QStringLiteral("13,2"));
    QVERIFY(w.window->savePendingEdits());
    QCOMPARE(w.store.value(select).toString(), QStringLiteral("18,1"));
}

QTEST_MAIN(TestDelegate)
#include "tst_delegate.moc"
