#include "teststore.h"

#include "cardeditor/mydelegate.h"
#include "mainwindow/mainwindow.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSqlRelationalTableModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

namespace {

// Records what the delegate hands to the display step.
class RecordingDelegate : public myDelegate
{
public:
    mutable QString text;
    mutable QRect rect;

protected:
    void drawDisplay(QPainter *painter, const QStyleOptionViewItem &option, const QRect &textRect,
                     const QString &displayText) const override
    {
        text = displayText;
        rect = textRect;
        myDelegate::drawDisplay(painter, option, textRect, displayText);
    }
};

bool allWhite(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

} // namespace

class TestDelegate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void iconPath_data();
    void iconPath();
    void paintsNames_data();
    void paintsNames();
    void choosingWebsiteStoresItsIdPending();
    void entriesCarryTheirIds_data();
    void entriesCarryTheirIds();
    void otherColumnsAndModelsFallBack();

private:
    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    QAbstractItemModel *cards() const { return view()->model(); }
    QComboBox *openCombo(int row, int column);
    void openWindow();

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

void TestDelegate::init()
{
    store = std::make_unique<TestStore>();
}

void TestDelegate::cleanup()
{
    window.reset();
    store.reset();
}

void TestDelegate::openWindow()
{
    window = std::make_unique<MainWindow>();
    window->resize(700, 500);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

QComboBox *TestDelegate::openCombo(int row, int column)
{
    const QModelIndex index = cards()->index(row, column);
    view()->setCurrentIndex(index);
    view()->edit(index);
    return qobject_cast<QComboBox *>(view()->indexWidget(index));
}

void TestDelegate::iconPath_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("path");
    const char *names[] = {"address", "bank",   "computer",    "contact",  "credit", "database",
                           "ebank",   "ebay",   "email",       "general",  "master", "mobilephone",
                           "password", "paypal", "serial",     "taobao",   "visa",   "website"};
    for (int type = 1; type <= 18; ++type)
        QTest::addRow("%d", type) << type << QStringLiteral(":/cardicon/%1.png").arg(names[type - 1]);
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("19") << 19 << QString();
    QTest::newRow("-1") << -1 << QString();
}

void TestDelegate::iconPath()
{
    QFETCH(int, type);
    QFETCH(QString, path);
    QCOMPARE(myDelegate().iconPath(type), path);
}

void TestDelegate::paintsNames_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("textLeft");
    QTest::newRow("type 13") << 1 << 13 << "Password" << 32;
    QTest::newRow("type renamed in the store") << 1 << 18 << "Site" << 32;
    QTest::newRow("type 25 with a stored name") << 1 << 25 << "Custom" << 32;
    QTest::newRow("type 40 without a name") << 1 << 40 << "" << 32;
    QTest::newRow("category") << 3 << 2 << "Work" << 0;
    QTest::newRow("unknown category") << 3 << 0 << "" << 0;
    QTest::newRow("name column") << 2 << 0 << "plain" << 0;
}

void TestDelegate::paintsNames()
{
    QFETCH(int, column);
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(int, textLeft);
    store->exec("insert into category values(2, 'Work')");
    store->exec("insert into cardtype values(25, 'Custom')");
    store->exec("update cardtype set name = 'Site' where id = 18");
    store->exec("insert into card values(1, 10, 'plain', 0)");
    openWindow();
    // A pending edit is what is shown.
    if (column != 2)
        QVERIFY(cards()->setData(cards()->index(0, column), value));

    RecordingDelegate delegate;
    QImage image(240, 36, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.state = QStyle::State_Enabled;
    option.palette = view()->palette();
    option.rect = QRect(0, 0, 240, 36);
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, cards()->index(0, column));
    }
    QCOMPARE(delegate.text, text);
    QCOMPARE(delegate.rect.left(), textLeft);
    if (column == 1) {
        const QString icon = delegate.iconPath(value);
        const bool drawn = !icon.isEmpty() && QFile::exists(icon);
        QCOMPARE(!allWhite(image, QRect(0, 2, 32, 32)), drawn);
    }
}

void TestDelegate::choosingWebsiteStoresItsIdPending()
{
    store->exec("insert into card values(1, 13, 'mail', 0)");
    openWindow();
    QComboBox *combo = openCombo(0, 1);
    QVERIFY(combo);
    QCOMPARE(combo->count(), 18);
    QCOMPARE(combo->iconSize(), QSize(32, 32));
    QCOMPARE(combo->currentText(), QStringLiteral("Password"));
    combo->setCurrentIndex(combo->findText("Website"));
    QTest::keyClick(combo, Qt::Key_Return);

    QTRY_VERIFY(!view()->indexWidget(cards()->index(0, 1)));
    QCOMPARE(cards()->index(0, 1).data().toInt(), 18);
    QCOMPARE(store->value("select type from card").toInt(), 13);
    QVERIFY(window->savePendingEdits());
    QCOMPARE(store->value("select type from card").toInt(), 18);
}

void TestDelegate::entriesCarryTheirIds_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("preselected");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("result");
    const QStringList twoHomes = {"insert into category values(1, 'Home')", "insert into category values(2, 'Home')"};
    QTest::newRow("category of one name, keep") << twoHomes << 3 << 2 << 1 << -2 << 2;
    QTest::newRow("category of one name, choose the first") << twoHomes << 3 << 2 << 1 << 0 << 1;
    QTest::newRow("no categories") << QStringList() << 3 << 0 << -1 << -2 << 0;
    QTest::newRow("unknown category left alone") << twoHomes << 3 << 9 << -1 << -2 << 9;
    const QStringList sameTypeNames = {"update cardtype set name = 'Card' where id in (5, 11)"};
    QTest::newRow("types of one name, keep") << sameTypeNames << 1 << 11 << 10 << -2 << 11;
    QTest::newRow("types of one name, choose") << sameTypeNames << 1 << 11 << 10 << 4 << 5;
}

// choice -2: only tab through the cell.
void TestDelegate::entriesCarryTheirIds()
{
    QFETCH(QStringList, setup);
    QFETCH(int, column);
    QFETCH(int, stored);
    QFETCH(int, preselected);
    QFETCH(int, choice);
    QFETCH(int, result);
    for (const QString &statement : setup)
        store->exec(statement);
    store->exec(QStringLiteral("insert into card values(1, %1, 'c', %2)")
                    .arg(column == 1 ? stored : 13)
                    .arg(column == 3 ? stored : 0));
    openWindow();

    QComboBox *combo = openCombo(0, column);
    QVERIFY(combo);
    QCOMPARE(combo->currentIndex(), preselected);
    if (choice != -2)
        combo->setCurrentIndex(choice);
    QTest::keyClick(combo, Qt::Key_Tab);
    QTRY_VERIFY(!view()->indexWidget(cards()->index(0, column)));

    QCOMPARE(cards()->index(0, column).data().toInt(), result);
    auto *model = qobject_cast<QSqlRelationalTableModel *>(cards());
    QCOMPARE(model->isDirty(), result != stored);
    QVERIFY(window->savePendingEdits());
    QCOMPARE(store->value(column == 1 ? "select type from card" : "select categoryid from card").toInt(), result);
}

void TestDelegate::otherColumnsAndModelsFallBack()
{
    store->exec("insert into card values(1, 13, 'mail', 0)");
    openWindow();
    const QModelIndex name = cards()->index(0, 2);
    view()->setCurrentIndex(name);
    view()->edit(name);
    QVERIFY(qobject_cast<QLineEdit *>(view()->indexWidget(name)));

    // A model that is not the card model is left to the base class.
    myDelegate delegate;
    QStandardItemModel plain(1, 4);
    plain.setData(plain.index(0, 1), QStringLiteral("Website"));
    QComboBox combo;
    combo.addItems({"Password", "Website"});
    delegate.setEditorData(&combo, plain.index(0, 1));
    QCOMPARE(combo.currentText(), QStringLiteral("Website"));
    combo.setCurrentIndex(0);
    delegate.setModelData(&combo, &plain, plain.index(0, 1));
    QCOMPARE(plain.data(plain.index(0, 1)).toString(), QStringLiteral("Password"));

    // An editor that is not a combo box on the card model, too.
    QLineEdit line;
    delegate.setEditorData(&line, cards()->index(0, 1));
    QCOMPARE(line.text(), QStringLiteral("13"));
    delegate.setModelData(&combo, cards(), QModelIndex());
    QCOMPARE(cards()->index(0, 1).data().toInt(), 13);
}

QTEST_MAIN(TestDelegate)
#include "tst_delegate.moc"
