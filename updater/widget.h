#ifndef WIDGET_H
#define WIDGET_H

#include "filedownload.h"
#include "releasedescription.h"
#include "updatelock.h"
#include "updatesetup.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QUrl>
#include <memory>
#include <optional>

// The updater's only window: a progress bar over the downloads of the signed
// release description and of the release it names, the vault program, its
// translation and the updater. They are installed together or not at all,
// only over an older installed version, and the updater always ends by
// starting a vault: the new one, or else the old one after saying what
// failed. One updater at a time works in a program directory.
class Widget : public QProgressBar
{
    Q_OBJECT

public:
    // The downloads in their order: the description, its signature, then
    // the files of the release.
    enum Step { Description, Signature, Program, Translation, Updater, Finished };

    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Server, program directory, key and patience; the program's own unless set.
    UpdateSetup setup;
    // The version of the installed vault, which hands it over: only a newer
    // release is installed. Never below the updater's own.
    void setInstalledVersion(int version);

    // The download of the given step.
    QUrl fileUrl(int step) const;

    // Left at a third of the screen's width, top at half its height, 250 x 30.
    void placeOnScreen();

    // What NimbrelUp does once its application is made, until the updater is
    // done: it speaks the language (the system's, "zh_CN") in the vault's
    // translation of the program directory, takes the installed version that
    // the vault hands over in the arguments ("--installed 212"), shows the
    // window and works with the given setup.
    static int run(const UpdateSetup &setup, const QStringList &arguments, const QString &language);

    // Claims the program directory, repairs an interrupted install, then
    // begins with the description; everything after follows from there.
    void start();

    // Starts the download of url into the program directory under the
    // download name (".bak" appended). False when a download is already under
    // way or the file cannot be written.
    bool startDownload(const QUrl &url);

public slots:
    void httpDone(bool error);
    void readProgress(qint64 done, qint64 total);

signals:
    // The updater is to end: a vault program has been started, or another
    // updater is at work.
    void done();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void next(Step nextStep);
    void fail(const QString &message);
    void startVault();
    QString fileName(int ofStep) const;

    QNetworkAccessManager http;
    QFile file;
    int step = Description;
    int installedVersion = ProgramFiles::versionNumber();
    std::unique_ptr<UpdateLock> lock;
    std::optional<ReleaseDescription> release;
    // Declared last: destroyed first, while http and file still stand.
    FileDownload download {http, file};
};

#endif
