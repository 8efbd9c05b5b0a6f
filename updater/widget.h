#ifndef WIDGET_H
#define WIDGET_H

#include <QProgressBar>

// The updater's only window: a progress bar over the two downloads.
class Widget : public QProgressBar
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);

signals:
    void done();
};

#endif
