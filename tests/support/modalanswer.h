#ifndef MODALANSWER_H
#define MODALANSWER_H

#include <QMessageBox>
#include <functional>

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

#endif
