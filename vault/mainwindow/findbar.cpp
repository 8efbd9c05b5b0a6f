#include "mainwindow/findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

FindBar::FindBar(QWidget *parent)
    : QWidget(parent)
{
    field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("findField"));
    field->setPlaceholderText(tr("Find cards: text or pinyin"));
    field->setMaxLength(maxTextLength);
    field->addAction(QIcon(QStringLiteral(":/menuicon/find.png")), QLineEdit::LeadingPosition);
    count = new QLabel(this);
    count->setObjectName(QStringLiteral("findCount"));
    allButton = new QToolButton(this);
    allButton->setObjectName(QStringLiteral("findAllCategories"));
    allButton->setText(tr("Search all categories"));
    allButton->setAutoRaise(true);
    allButton->hide();
    connect(allButton, &QToolButton::clicked, this, &FindBar::allCategoriesRequested);
    auto *closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("findClose"));
    closeButton->setIcon(QIcon(QStringLiteral(":/menuicon/close.png")));
    closeButton->setToolTip(tr("close the find bar and show the category's cards again"));
    closeButton->setAutoRaise(true);

    pause.setSingleShot(true);
    pause.setInterval(pauseMs);
    connect(field, &QLineEdit::textEdited, &pause, qOverload<>(&QTimer::start));
    connect(&pause, &QTimer::timeout, this, [this]() { emit findRequested(field->text()); });
    connect(closeButton, &QToolButton::clicked, this, &FindBar::closeRequested);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(count);
    layout->addWidget(allButton);
    layout->addWidget(closeButton);
    // Until the user asks for it, the bar takes no room.
    hide();
}

void FindBar::open()
{
    show();
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void FindBar::clearAndHide()
{
    pause.stop();
    field->clear();
    count->clear();
    allButton->hide();
    hide();
}

void FindBar::flush()
{
    if (pause.isActive()) {
        pause.stop();
        emit findRequested(field->text());
    }
}

void FindBar::showCount(int matches, const QString &category)
{
    allButton->setVisible(matches >= 0 && !category.isNull());
    if (matches < 0)
        count->clear();
    else if (category.isNull())
        count->setText(matches == 0       ? tr("No card found in all categories")
                           : matches == 1 ? tr("1 card found in all categories")
                                          : tr("%1 cards found in all categories").arg(matches));
    else
        count->setText(matches == 0       ? tr("No card found in “%1”").arg(category)
                           : matches == 1 ? tr("1 card found in “%1”").arg(category)
                                          : tr("%1 cards found in “%2”").arg(matches).arg(category));
}

// The field leaves Escape and Enter to its parent; taken here, they never
// reach the main window, whose Escape would close it and whose Enter would
// open the current card.
void FindBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        emit closeRequested();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        flush();
        emit firstMatchRequested();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
