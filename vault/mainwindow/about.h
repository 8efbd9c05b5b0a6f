#ifndef ABOUT_H
#define ABOUT_H

#include <QDialog>

// The program's name, version, web site, support address and picture.
class About : public QDialog
{
    Q_OBJECT

public:
    explicit About(QWidget *parent = nullptr);

private slots:
    void openURL(QString url);
};

#endif
