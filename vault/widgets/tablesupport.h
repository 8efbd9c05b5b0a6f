#ifndef TABLESUPPORT_H
#define TABLESUPPORT_H

#include <QCoreApplication>
#include <initializer_list>

class QAbstractItemView;
class QAction;
class QModelIndex;
class QObject;
class QPushButton;
class QSqlError;
class StoreTableModel;
class QTableView;
class QWidget;

// What the card table, the category editor and the card editor share.
class TableSupport
{
    Q_DECLARE_TR_FUNCTIONS(TableSupport)

public:
    // Gives each of the columns the width, never less than a few pixels.
    static void setColumnWidths(QTableView *view, std::initializer_list<int> columns, int width);

    // The view's width less its row header, which widens with the number of
    // rows: what the columns may share without a sideways scroll bar.
    static int widthBesideRowHeader(const QTableView *view);

    // The cell the user chose: one they clicked or moved to, or one the
    // program made current for them (a new row). A table that takes the
    // focus makes its first cell current without selecting it; that cell
    // nobody chose, and commands that delete or overwrite without asking
    // leave it alone. Invalid when nothing was chosen.
    static QModelIndex chosenCell(const QAbstractItemView *view);

    // Commits the text of a cell editor that is still open, so that it
    // counts as an edit of the model.
    static void commitOpenEditor(QAbstractItemView *view);

    // Writes the model's pending edits (an open cell editor's text first).
    // When the store refuses them, tells the user, keeps the edits pending
    // and returns false.
    static bool writePending(StoreTableModel *model, QAbstractItemView *view, QWidget *parent);

    // Tell the user, in their words, that the store refused a write (the
    // changes are kept) or a read (the table shows what was read before);
    // the driver's text is the message's detail.
    static void reportWriteError(QWidget *parent, const QSqlError &error);
    static void reportReadError(QWidget *parent, const QSqlError &error);
    // What every window says when another program's lock kept the store from answering.
    static QString inUseText();

    // Makes the cell current, scrolls it into view and opens its editor,
    // also on a row that was added just now.
    static void editCell(QAbstractItemView *view, const QModelIndex &index);

    // A menu entry; an empty tool tip, icon or shortcut is left unset.
    static QAction *makeAction(QObject *parent, const QString &text, const QString &toolTip, const QString &icon,
                               const QString &shortcut = QString());

    // A push button with its icon and tool tip, named when a name is given.
    static QPushButton *makeButton(QWidget *parent, const QString &text, const QString &toolTip, const QString &icon,
                                   const char *name = nullptr);

    static constexpr int minimumColumnWidth = 10;

private:
    // A lock is told as such (and the rest of the action waits no more);
    // any other refusal with `refused`.
    static void report(QWidget *parent, const QSqlError &error, const QString &title, const QString &refused);
};

#endif
