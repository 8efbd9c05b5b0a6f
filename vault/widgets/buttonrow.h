#ifndef BUTTONROW_H
#define BUTTONROW_H

#include <functional>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QString;

// The row of a dialog's two buttons, OK and Cancel, side by side: OK is the
// default button (Enter in any field presses it) and runs `ok`, or accepts
// the dialog when no `ok` is given; Cancel rejects it.
struct ButtonRow
{
    QHBoxLayout *layout = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;

    static ButtonRow make(QDialog *dialog, const QString &okText, const QString &cancelText,
                          const std::function<void()> &ok = {});
};

#endif
