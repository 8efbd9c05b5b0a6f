#include "mainwindow/about.h"

#include <QDesktopServices>
#include <QUrl>

About::About(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About"));
}

void About::openURL(QString url)
{
    QDesktopServices::openUrl(QUrl(url));
}
