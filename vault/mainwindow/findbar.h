#ifndef FINDBAR_H
#define FINDBAR_H

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;

// The bar above the card table in which the user finds cards. It asks for a
// search when the typing pauses; the main window runs it and reports back.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget *parent = nullptr);

    // Shows the bar with the field focused and its text selected.
    void open();
    // Empties the field without asking for a search, and hides the bar.
    void clearAndHide();
    QString text() const;
    // Asks at once for a search that is still waiting for the pause.
    void flush();
    // A negative count shows none.
    void showCount(int matches);

    // How long the typing must pause before a search.
    static constexpr int pauseMs = 150;

signals:
    void findRequested(const QString &text);
    // Escape or the close button.
    void closeRequested();
    // Enter in the field.
    void firstMatchRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *field = nullptr;
    QLabel *count = nullptr;
    QTimer pause;
};

#endif
