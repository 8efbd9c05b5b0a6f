#ifndef MODALANSWER_H
#define MODALANSWER_H

#include <QMessageBox>
#include <functional>

class QTableView;

// Answers the next modal widget, which must carry `title`: runs `act` on it,
// then presses `button` when it is a message box. Answers queue in the order
// they are made. The test fails when the box has not come by the time the
// answer is destroyed, and when a box comes that nobody expects (it is
// closed so that the test goes on).
class ModalAnswer
{
public:
    explicit ModalAnswer(const QString &title, QMessageBox::StandardButton button = QMessageBox::Ok,
                         std::function<void(QWidget *)> act = {});
    ~ModalAnswer();

    // Waits until the box has been answered.
    bool wait() const;
    QString text;
    const QString title;
    const QMessageBox::StandardButton button;
    const std::function<void(QWidget *)> act;
};

// Opens the cell's editor, types `text` over what it holds and, with `enter`,
// commits it with Return.
void typeInto(QTableView *view, int row, int column, const QString &text, bool enter = true);

// Triggers the entry of `window` whose text, mnemonic and all, is `text`.
void trigger(QWidget *window, const QString &text);

// The cards the window's table shows, as their `column` joined by ",".
QString shownCards(QWidget *window, int column = 2);

// The per-category entries of the window's "&Category" menu as "id:text,...".
QString categoryEntries(QWidget *window);

#endif
