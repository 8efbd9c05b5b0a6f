#ifndef VERSION_H
#define VERSION_H

#include "filedownload.h"
#include "releasedescription.h"
#include "updatesetup.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QUrl>
#include <QWidget>
#include <functional>

// Checks at start whether the update server publishes a genuine newer
// release and, when the user agrees, hands over to the updater.
class Version : public QWidget
{
    Q_OBJECT

public:
    explicit Version(QWidget *parent = nullptr);
    ~Version() override;

    // Server, program directory, key and patience; the program's own unless set.
    UpdateSetup setup;

    QUrl versionFileUrl() const;

    // Starts the download of url, then of its signature (url followed by
    // ".sig"), into the program directory. False when the build has no key,
    // a download is already under way or the file cannot be written.
    bool startDownload(const QUrl &url);

    // Asked before the program ends for an update: whether what the user has
    // typed could be written. Unset, there is nothing to write.
    std::function<bool()> saveEdits;

public slots:
    void httpDone(bool error);

signals:
    // The updater has been started; the vault program is to end.
    void done();

private slots:
    void descriptionDone(bool error);

private:
    void offerUpdate();

    QNetworkAccessManager http;
    QFile file;
    QFile signatureFile;
    QUrl signatureUrl;
    // Declared last: destroyed first, while http and the files still stand.
    FileDownload download {http, file};
    FileDownload signatureDownload {http, signatureFile};
};

#endif
