#include "filedownload.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>

FileDownload::FileDownload(QNetworkAccessManager &http, QFile &file, QObject *parent)
    : QObject(parent)
    , http(http)
    , file(file)
{
}

FileDownload::~FileDownload()
{
    if (!reply)
        return;
    // abort() reports the end at once; nothing of the owner may run then.
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    delete reply;
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
    reply = http.get(request);
    connect(reply, &QNetworkReply::readyRead, this, &FileDownload::readReply);
    connect(reply, &QNetworkReply::downloadProgress, this, &FileDownload::progress);
    connect(reply, &QNetworkReply::finished, this, &FileDownload::replyFinished);
    return true;
}

void FileDownload::readReply()
{
    const QByteArray data = reply->readAll();
    received += data.size();
    if (file.write(data) != data.size())
        writeFailed = true;
}

void FileDownload::replyFinished()
{
    readReply();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool error = writeFailed || reply->error() != QNetworkReply::NoError
        || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400
        || (length.isValid() && length.toLongLong() != received);
    reply->deleteLater();
    reply = nullptr;
    file.close();
    emit finished(error);
}
