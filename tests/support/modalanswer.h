#ifndef MODALANSWER_H
#define MODALANSWER_H

#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

// Modal boxes block the test that opens them; these answer the next one from
// a timer once it has appeared.

// Runs `answer` on the next modal widget.
void onNextModal(std::function<void(QWidget *)> answer);

struct SeenBox
{
    bool seen = false;
    QString title;
    QString text;
};

// Presses `button` on the next message box and records what it said.
std::shared_ptr<SeenBox> answerNextBox(QMessageBox::StandardButton button = QMessageBox::Ok);

#endif
