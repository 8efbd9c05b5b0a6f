#ifndef WIDGET_H
#define WIDGET_H

#include "filedownload.h"
#include "releasedescription.h"
#include "updatesetup.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QUrl>
#include <optional>

// The updater's only window: a progress bar over the downloads of the signed
// release description and of the release it names, the vault program and
// its translation. Both are installed together or not at all, and the
// updater always ends by starting a vault: the new one, or else the old one
// after saying what failed.
class Widget : public QProgressBar
{
    Q_OBJECT

public:
    // The downloads in their order.
    enum Step { Description, Signature, Program, Translation, Finished };

    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Server, program directory, key and patience; the program's own unless set.
    void setUp(const UpdateSetup &setup);
    QString programDir() const;

    // The download of the given step.
    QUrl fileUrl(int step) const;

    // Left at a third of the screen's width, top at half its height, 250 x 30.
    void placeOnScreen();

    // Begins with the description; everything after follows from there.
    void start();

    // Starts the download of url into the program directory under the
    // download name (".bak" appended). False when a download is already under
    // way or the file cannot be written.
    bool startDownload(const QUrl &url);

public slots:
    void httpDone(bool error);
    void readProgress(qint64 done, qint64 total);

signals:
    // A vault program has been started; the updater is to end.
    void done();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void next(Step nextStep);
    bool matchesRelease(const QByteArray &sha256);
    bool install(QString &failure);
    void fail(const QString &message);
    void removeDownloads();
    void startVault();
    QString installedPath(int ofStep) const;
    QString downloadPath(int ofStep) const;

    QNetworkAccessManager http;
    QFile file;
    int step = Description;
    UpdateSetup setup;
    std::optional<ReleaseDescription> release;
    // Declared last: destroyed first, while http and file still stand.
    FileDownload download{http, file};
};

#endif
