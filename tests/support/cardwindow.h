#ifndef CARDWINDOW_H
#define CARDWINDOW_H

#include "teststore.h"

#include "cardeditor/cardform.h"
#include "mainwindow/mainwindow.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

#include <memory>

// A fresh store and, once opened, the main window over it, with the card
// table and the one card editor at hand.
struct CardWindow
{
    TestStore store;
    std::unique_ptr<MainWindow> window;

    void open()
    {
        window = std::make_unique<MainWindow>();
        window->resize(700, 500);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    QAbstractItemModel *cards() const { return view()->model(); }
    CardForm *form() const { return window->findChild<CardForm *>(); }
    QTableView *lineView() const { return form()->findChild<QTableView *>("contentView"); }
    QAbstractItemModel *lines() const { return lineView()->model(); }
    QWidget *openCell(QTableView *table) const { return table->indexWidget(table->currentIndex()); }

    // Types into the second column (a card's name, a line's value) of a row and commits it.
    void typeInto(QTableView *table, int row, const QString &text)
    {
        const QModelIndex cell = table->model()->index(row, 2);
        table->setCurrentIndex(cell);
        table->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(table->indexWidget(cell));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!table->indexWidget(cell));
    }

    void choose(int row) { view()->setCurrentIndex(cards()->index(row, 2)); }
    void run(const char *command) { QVERIFY(QMetaObject::invokeMethod(window.get(), command)); }
    void openRow(int row)
    {
        choose(row);
        run("openCard");
    }

    // One column of the lines the editor shows, joined by commas.
    QString shown(int column = 1) const
    {
        QStringList values;
        for (int row = 0; row < lines()->rowCount(); ++row)
            values << lines()->index(row, column).data().toString();
        return values.join(',');
    }

    // One column of a card's stored lines in id order, joined by commas.
    QString stored(int cardId, const QString &column = QStringLiteral("title")) const
    {
        QSqlQuery query;
        query.prepare(QStringLiteral("select %1 from content where cardid = ? order by id").arg(column));
        query.addBindValue(cardId);
        query.exec();
        QStringList values;
        while (query.next())
            values << query.value(0).toString();
        return values.join(',');
    }
};

#endif
