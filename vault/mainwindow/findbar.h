#ifndef FINDBAR_H
#define FINDBAR_H

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

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
    // Asks at once for a search that is still waiting for the pause.
    void flush();
    // Says how many cards were found and where: in the named category, or
    // in all categories when the name is null. A negative count shows none.
    void showCount(int matches, const QString &category = QString());

    // Longer texts would pass SQLite's limit for a pattern; nobody types them.
    static constexpr int maxTextLength = 1000;

    // How long the typing must pause before a search.
    static constexpr int pauseMs = 150;

signals:
    void findRequested(const QString &text);
    // Escape or the close button.
    void closeRequested();
    // Enter in the field.
    void firstMatchRequested();
    // The one-click widening of a find inside a category.
    void allCategoriesRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *field = nullptr;
    QLabel *count = nullptr;
    QToolButton *allButton = nullptr;
    QTimer pause;
};

#endif
