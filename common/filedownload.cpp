#include "filedownload.h"

#include "disksync.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <cerrno>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// What the reply may hold in memory beyond what has been written.
constexpr qint64 readBufferSize = 256 * 1024;

} // namespace

FileDownload::FileDownload(QNetworkAccessManager &http, QFile &file, QObject *parent)
    : QObject(parent)
    , http(http)
    , file(file)
{
    stallTimer.setSingleShot(true);
    connect(&stallTimer, &QTimer::timeout, this, [this]() { failNow(tr("the server sent nothing for too long")); });
    deadlineTimer.setSingleShot(true);
    connect(&deadlineTimer, &QTimer::timeout, this,
            [this]() { failNow(tr("the transfer took longer than %1 s").arg(deadlineTimer.interval() / 1000)); });
}

FileDownload::~FileDownload()
{
    cancel();
}

void FileDownload::cancel()
{
    stallTimer.stop();
    deadlineTimer.stop();
    if (!reply)
        return;
    // abort() reports the end at once; nothing of the owner may run then.
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    delete reply;
    reply = nullptr;
    closeFile(true);
}

bool FileDownload::createFile(QFileDevice::Permissions permissions)
{
    path = file.fileName();
    // A link is removed itself, never its target.
    QFile::remove(path);
#ifdef Q_OS_WIN
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered, permissions))
        return true;
    failure = file.errorString();
    return false;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0) {
        failure = qt_error_string(errno);
        return false;
    }
    // Set on the open file, so that the mask of the process leaves them whole.
    mode_t mode = 0;
    for (auto [qt, posix] : {std::pair {QFileDevice::ReadOwner, S_IRUSR},
                             {QFileDevice::WriteOwner, S_IWUSR},
                             {QFileDevice::ExeOwner, S_IXUSR},
                             {QFileDevice::ReadGroup, S_IRGRP},
                             {QFileDevice::ExeGroup, S_IXGRP},
                             {QFileDevice::ReadOther, S_IROTH},
                             {QFileDevice::ExeOther, S_IXOTH}}) {
        if (permissions & qt)
            mode |= posix;
    }
    if (::fchmod(fd, mode) == 0
        && file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    failure = qt_error_string(errno);
    ::close(fd);
    QFile::remove(path);
    return false;
#endif
}

void FileDownload::closeFile(bool remove)
{
    file.close();
    // Opened from a descriptor, the file forgets its name; given it again it
    // can be opened by name once more.
    file.setFileName(path);
    if (remove)
        QFile::remove(path);
}

bool FileDownload::start(const QUrl &url, qint64 maxBytes, int deadlineMs, int stallMs,
                         QFileDevice::Permissions permissions)
{
    failure.clear();
    if (reply || !createFile(permissions))
        return false;
    QNetworkRequest request(url);
    // An unencoded body, so that its length can be checked against the header.
    request.setRawHeader("Accept-Encoding", "identity");
    received = 0;
    maxSize = maxBytes;
    reply = http.get(request);
    reply->setReadBufferSize(readBufferSize);
    connect(reply, &QNetworkReply::metaDataChanged, this, &FileDownload::checkLength);
    connect(reply, &QNetworkReply::readyRead, this, &FileDownload::readReply);
    connect(reply, &QNetworkReply::downloadProgress, this, &FileDownload::progress);
    connect(reply, &QNetworkReply::finished, this, &FileDownload::replyFinished);
    stallTimer.start(stallMs);
    deadlineTimer.start(deadlineMs);
    return true;
}

void FileDownload::failNow(const QString &why)
{
    // The first cause is the one told; abort() finishes the reply at once,
    // through replyFinished.
    if (failure.isEmpty())
        failure = why;
    if (reply && reply->isRunning())
        reply->abort();
}

void FileDownload::checkLength()
{
    // An error page is no file, however long.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        failNow(tr("the server answered %1").arg(status));
        return;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > maxSize)
        failNow(tr("the server announced %1 bytes, more than the %2 expected").arg(length.toLongLong()).arg(maxSize));
}

void FileDownload::readReply()
{
    // An aborted reply is closed and has nothing more to give.
    if (!reply->isOpen() || !failure.isEmpty())
        return;
    const QByteArray data = reply->readAll();
    if (data.isEmpty())
        return;
    stallTimer.start();
    if (received + data.size() > maxSize) {
        failNow(tr("the server sent more than the %1 bytes expected").arg(maxSize));
        return;
    }
    received += data.size();
    errno = 0;
    if (file.write(data) != data.size()) {
        // The system's own word for it, read before anything else can change it.
        const int cause = errno;
        const QString why = cause ? qt_error_string(cause) : file.errorString();
        const QString name = QDir::toNativeSeparators(path);
        failNow(cause == ENOSPC || file.error() == QFileDevice::ResourceError
                    ? tr("the disk is full, %1 cannot be written (%2)").arg(name, why)
                    : tr("%1 cannot be written (%2)").arg(name, why));
    }
}

void FileDownload::replyFinished()
{
    readReply();
    stallTimer.stop();
    deadlineTimer.stop();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (failure.isEmpty()) {
        if (status >= 400)
            failure = tr("the server answered %1").arg(status);
        else if (reply->error() != QNetworkReply::NoError)
            failure = reply->errorString();
        else if (length.isValid() && length.toLongLong() != received)
            failure = tr("the transfer broke off");
        else if (!DiskSync::syncFile(file))
            failure = tr("%1 cannot be written (%2)").arg(QDir::toNativeSeparators(path), file.errorString());
    }
    const bool error = !failure.isEmpty();
    reply->deleteLater();
    reply = nullptr;
    closeFile(error);
    emit finished(error);
}
