#ifndef VAULTDRIVER_H
#define VAULTDRIVER_H

#include <QFileDevice>
#include <QStringList>

class QTableView;
class QWidget;

// Drives the vault's windows as a user does: through cells, menu entries and
// what the card table shows; reads and writes the files the user chooses.

// The file's bytes, empty when it cannot be read.
QByteArray readFile(const QString &path);
// Writes the bytes in place of the file's, adding `more` to its permissions.
bool writeFile(const QString &path, const QByteArray &contents, QFileDevice::Permissions more = {});

// Opens the cell's editor, types `text` over what it holds and, with `enter`,
// commits it with Return.
void typeInto(QTableView *view, int row, int column, const QString &text, bool enter = true);

// Triggers the entry of `window` whose text, mnemonic and all, is `text`;
// a menu of the same name is passed over.
void trigger(QWidget *window, const QString &text);

// Opens the find bar, types `text` over what it holds as an input method
// commits it, and waits out the typing pause.
void typeFind(QWidget *window, const QString &text);

// The window's own visible widgets that overlap one another or stand
// outside it, as "name/name" or "name outside": a widget left out of its
// layout lands at the top left, over the others.
QStringList misplacedWidgets(QWidget *window);

// The cards the window's table shows, as their `column` joined by ",".
QString shownCards(QWidget *window, int column = 2);

// The per-category entries of the window's "&Category" menu as "id:text,...".
QString categoryEntries(QWidget *window);

#endif
