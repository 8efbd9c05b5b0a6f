#include "filedownload.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>

FileDownload::FileDownload(QNetworkAccessManager &http, QFile &file, QObject *parent)
    : QObject(parent)
    , http(http)
    , file(file)
{
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(30000);
    connect(&stallTimer, &QTimer::timeout, this, &FileDownload::stalled);
}

FileDownload::~FileDownload()
{
    cancel();
}

void FileDownload::cancel()
{
    stallTimer.stop();
    if (!reply)
        return;
    // abort() reports the end at once; nothing of the owner may run then.
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    delete reply;
    reply = nullptr;
    file.close();
    file.remove();
}

bool FileDownload::start(const QUrl &url)
{
    if (reply || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QNetworkRequest request(url);
    // An unencoded body, so that its length can be checked against the header.
    request.setRawHeader("Accept-Encoding", "identity");
    received = 0;
    writeFailed = false;
    gaveUp = false;
    failure.clear();
    reply = http.get(request);
    connect(reply, &QNetworkReply::readyRead, this, &FileDownload::readReply);
    connect(reply, &QNetworkReply::downloadProgress, this, &FileDownload::progress);
    connect(reply, &QNetworkReply::finished, this, &FileDownload::replyFinished);
    stallTimer.start();
    return true;
}

void FileDownload::readReply()
{
    // An aborted reply is closed and has nothing more to give.
    if (!reply->isOpen())
        return;
    const QByteArray data = reply->readAll();
    if (!data.isEmpty())
        stallTimer.start();
    received += data.size();
    if (file.write(data) != data.size())
        writeFailed = true;
}

void FileDownload::replyFinished()
{
    readReply();
    stallTimer.stop();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (gaveUp)
        failure = tr("the server sent nothing for too long");
    else if (writeFailed)
        failure = file.errorString();
    else if (status >= 400)
        failure = tr("the server answered %1").arg(status);
    else if (reply->error() != QNetworkReply::NoError)
        failure = reply->errorString();
    else if (length.isValid() && length.toLongLong() != received)
        failure = tr("the transfer broke off");
    const bool error = !failure.isEmpty();
    reply->deleteLater();
    reply = nullptr;
    file.close();
    emit finished(error);
}

void FileDownload::stalled()
{
    // abort() finishes the reply at once, through replyFinished.
    gaveUp = true;
    reply->abort();
}
