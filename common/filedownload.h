#ifndef FILEDOWNLOAD_H
#define FILEDOWNLOAD_H

#include <QFileDevice>
#include <QObject>
#include <QString>
#include <QTimer>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// One HTTP GET at a time into a local file, for the version check and the
// updater. A transfer has failed when the network fails, the server answers
// with an error status, announces or sends more than the file may hold, the
// body is shorter than announced, nothing arrives for the stall timeout, the
// whole takes longer than its deadline or the file cannot be written; it
// ends at the first of these, and the partial file is removed. Destroyed
// mid-transfer, it aborts without reporting and removes the partial file.
class FileDownload : public QObject
{
    Q_OBJECT

public:
    FileDownload(QNetworkAccessManager &http, QFile &file, QObject *parent = nullptr);
    ~FileDownload() override;

    // Creates the file anew with the given permissions (whatever lay under
    // its name is removed first and never written through: a planted link
    // stays unfollowed) and starts the GET of at most maxSize bytes within
    // deadlineMs, with at most stallMs between two pieces. False when a
    // transfer is under way or the file cannot be created (errorString()
    // says why).
    bool start(const QUrl &url, qint64 maxSize, int deadlineMs, int stallMs,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    bool isRunning() const { return reply != nullptr; }
    // Abandons the transfer under way without reporting and removes the
    // partial file.
    void cancel();
    // Why the last transfer failed, in words for a message: its first cause.
    QString errorString() const { return failure; }

signals:
    void progress(qint64 received, qint64 total);
    // The file has been closed: synced to the disk after a success, removed
    // after a failure.
    void finished(bool error);

private slots:
    void readReply();
    void checkLength();
    void replyFinished();

private:
    bool createFile(QFileDevice::Permissions permissions);
    void failNow(const QString &why);
    void closeFile(bool remove);

    QNetworkAccessManager &http;
    QFile &file;
    QNetworkReply *reply = nullptr;
    QString path;
    qint64 received = 0;
    qint64 maxSize = 0;
    QString failure;
    QTimer stallTimer;
    QTimer deadlineTimer;
};

#endif
