#ifndef WIDGET_H
#define WIDGET_H

#include "filedownload.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QUrl>

// The updater's only window: a progress bar over the two downloads, the
// vault program (step 0) and its translation (step 1), each put in place of
// the installed file once it has arrived whole.
class Widget : public QProgressBar
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Where the files come from and go to: the update server and the
    // program directory unless set.
    void setServer(const QUrl &server);
    void setProgramDir(const QString &dir);
    QString programDir() const;

    // The download of the given step.
    QUrl fileUrl(int step) const;

    // Left at a third of the screen's width, top at half its height, 250 x 30.
    void placeOnScreen();

    // Starts the download of url into the program directory under the
    // download name (".bak" appended). False when a download is already under
    // way or the file cannot be written.
    bool startDownload(const QUrl &url);

public slots:
    void httpDone(bool error);
    void readProgress(qint64 done, qint64 total);

signals:
    // The vault program has been started again; the updater is to end.
    void done();

private:
    QString installedPath(int ofStep) const;

    QNetworkAccessManager http;
    QFile file;
    int step = 0;
    QUrl server;
    QString dir;
    // Declared last: destroyed first, while http and file still stand.
    FileDownload download{http, file};
};

#endif
