#ifndef PLAINTEXT_H
#define PLAINTEXT_H

#include <QMessageBox>
#include <QString>

// Texts that hold what the user or the store gave (names, file names, the
// driver's words) are shown as they stand: Qt would take a text that looks
// like markup for rich text.
namespace PlainText {

// A tool tip that shows `text` literally.
QString toolTip(const QString &text);

// A modal message box whose text is shown literally; the button pressed.
// A detail (the driver's words) is shown only when the user asks for it.
QMessageBox::StandardButton tell(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                 const QString &detail = QString());

} // namespace PlainText

#endif
