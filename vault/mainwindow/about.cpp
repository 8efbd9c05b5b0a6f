#include "mainwindow/about.h"

#include "programfiles.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QUrl>
#include <QVBoxLayout>

About::About(QWidget *parent)
    : QDialog(parent)
{
    auto *nameLabel = new QLabel(tr("<b>Nimbrel  v%1</b>").arg(ProgramFiles::versionText()), this);
    auto *siteLabel = new QLabel(tr("<a href=\"www.nimbrel.example.org\">www.nimbrel.example.org</a>"), this);
    auto *mailLabel =
        new QLabel(tr("E-mail: <a href=\"mailto:support@nimbrel.example.org\">support@nimbrel.example.org</a>"), this);
    auto *rightsLabel = new QLabel(tr("Copyright (C) 2026 Nimbrel developers"), this);

    auto *pictureLabel = new QLabel(this);
    pictureLabel->setPixmap(QPixmap(QStringLiteral(":/menuicon/sc.png")));

    connect(siteLabel, &QLabel::linkActivated, this, &About::openURL);
    connect(mailLabel, &QLabel::linkActivated, this, &About::openURL);

    auto *textColumn = new QVBoxLayout;
    textColumn->addWidget(nameLabel);
    textColumn->addWidget(siteLabel);
    textColumn->addWidget(mailLabel);
    textColumn->addWidget(rightsLabel);
    auto *layout = new QHBoxLayout;
    layout->addWidget(pictureLabel);
    layout->addSpacing(10);
    layout->addLayout(textColumn);
    setLayout(layout);

    setWindowIcon(QIcon(QStringLiteral(":/menuicon/about.png")));
    setWindowTitle(tr("About"));
}

void About::openURL(QString url)
{
    // The site's link is written without a scheme: as a URL it would name a
    // file beside the program, not the site.
    QDesktopServices::openUrl(QUrl::fromUserInput(url));
}
