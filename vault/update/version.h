#ifndef VERSION_H
#define VERSION_H

#include "filedownload.h"
#include "programfiles.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QUrl>
#include <QWidget>

// Checks at start whether the update server publishes a newer version and,
// when the user agrees, hands over to the updater.
class Version : public QWidget
{
    Q_OBJECT

public:
    explicit Version(QWidget *parent = nullptr);
    ~Version() override;

    // The program's own version, 2.12 without its point.
    static constexpr int ownVersion = 212;

    // The version file below the update server, or below another server.
    static QUrl versionFileUrl(const QUrl &server = ProgramFiles::updateServer());

    // The number in the version file's first line, 0 when it is not a
    // decimal integer.
    static int publishedVersion(const QByteArray &firstLine);

    // Where the version file is written and the updater is started from;
    // the program directory unless set.
    void setProgramDir(const QString &dir);
    QString programDir() const;

    // Starts the download of url into the program directory. False when a
    // download is already under way or the file cannot be written.
    bool startDownload(const QUrl &url);

public slots:
    void httpDone(bool error);

signals:
    // The updater has been started; the vault program is to end.
    void done();

private:
    void offerUpdate();
    bool savePendingEdits();

    QNetworkAccessManager http;
    QFile file;
    QString dir;
    // Declared last: destroyed first, while http and file still stand.
    FileDownload download{http, file};
};

#endif
