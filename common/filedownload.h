#ifndef FILEDOWNLOAD_H
#define FILEDOWNLOAD_H

#include <QObject>
#include <QString>
#include <QTimer>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// One HTTP GET at a time into a local file, for the version check and the
// updater. A transfer has failed when the network fails, the server answers
// with an error status, the body is shorter than announced, nothing arrives
// for the stall timeout or the file cannot be written. Destroyed
// mid-transfer, it aborts without reporting and removes the partial file.
class FileDownload : public QObject
{
    Q_OBJECT

public:
    FileDownload(QNetworkAccessManager &http, QFile &file, QObject *parent = nullptr);
    ~FileDownload() override;

    // Opens the file for writing (truncated) and starts the GET. False when
    // a transfer is under way or the file cannot be opened.
    bool start(const QUrl &url);
    bool isRunning() const { return reply != nullptr; }
    // Abandons the transfer under way without reporting and removes the
    // partial file.
    void cancel();
    void setStallTimeout(int ms) { stallTimer.setInterval(ms); }
    // Why the last transfer failed, in words for a message.
    QString errorString() const { return failure; }

signals:
    void progress(qint64 received, qint64 total);
    // The file has been closed.
    void finished(bool error);

private slots:
    void readReply();
    void replyFinished();
    void stalled();

private:
    QNetworkAccessManager &http;
    QFile &file;
    QNetworkReply *reply = nullptr;
    qint64 received = 0;
    bool writeFailed = false;
    bool gaveUp = false;
    QString failure;
    QTimer stallTimer;
};

#endif
