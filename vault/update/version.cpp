#include "update/version.h"

#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QNetworkReply>
#include <QProcess>

Version::Version(QWidget *parent)
    : QWidget(parent)
{
}

Version::~Version()
{
    if (!reply)
        return;
    // abort() reports the end at once; nothing of this object may run then.
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    delete reply;
    file.close();
    file.remove();
}

QUrl Version::versionFileUrl(const QUrl &server)
{
    return server.resolved(QUrl(QStringLiteral("/update/Nimbrel.txt")));
}

int Version::publishedVersion(const QByteArray &firstLine)
{
    QByteArray line = firstLine;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLatin1(line).toInt(nullptr, 10);
}

void Version::setProgramDir(const QString &programDir)
{
    dir = programDir;
}

QString Version::programDir() const
{
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

bool Version::startDownload(const QUrl &url)
{
    if (reply)
        return false;
    QString name = QFileInfo(url.path()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("version.out");
    file.setFileName(QDir(programDir()).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;

    QNetworkRequest request(url);
    // An unencoded body, so that its length can be checked against the header.
    request.setRawHeader("Accept-Encoding", "identity");
    received = 0;
    writeFailed = false;
    reply = http.get(request);
    connect(reply, &QNetworkReply::readyRead, this, &Version::readReply);
    connect(reply, &QNetworkReply::finished, this, &Version::replyFinished);
    return true;
}

void Version::readReply()
{
    const QByteArray data = reply->readAll();
    received += data.size();
    if (file.write(data) != data.size())
        writeFailed = true;
}

void Version::replyFinished()
{
    readReply();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool error = writeFailed || reply->error() != QNetworkReply::NoError
        || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400
        || (length.isValid() && length.toLongLong() != received);
    reply->deleteLater();
    reply = nullptr;
    httpDone(error);
}

void Version::httpDone(bool error)
{
    file.close();
    if (!error && file.open(QIODevice::ReadOnly)) {
        const int published = publishedVersion(file.readLine());
        file.close();
        if (published > ownVersion)
            offerUpdate();
    }
    file.remove();
}

void Version::offerUpdate()
{
    if (QMessageBox::information(this, tr("Update"), tr("New version is checked, update now?"),
                                 QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // The vault program ends without closing its windows; what the user has
    // typed is written first, and without that there is no update.
    if (!savePendingEdits()) {
        QMessageBox::information(this, tr("Update"),
                                 tr("The update is put off because your changes could not be saved. "
                                    "It will be offered again at the next start."));
        return;
    }
    const QString updater = ProgramFiles::pathIn(programDir(), ProgramFiles::updaterName());
    if (!QProcess::startDetached(updater, QStringList())) {
        QMessageBox::warning(this, tr("Update"),
                             tr("The updater %1 could not be started. This version stays in use.").arg(updater));
        return;
    }
    emit done();
}

bool Version::savePendingEdits()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *mainWindow = qobject_cast<MainWindow *>(window)) {
            if (!mainWindow->savePendingEdits())
                return false;
        }
    }
    return true;
}
