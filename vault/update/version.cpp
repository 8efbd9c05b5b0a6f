#include "update/version.h"

#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

Version::Version(QWidget *parent)
    : QWidget(parent)
{
    connect(&download, &FileDownload::finished, this, &Version::httpDone);
}

Version::~Version() = default;

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
    if (download.isRunning())
        return false;
    QString name = QFileInfo(url.path()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("version.out");
    file.setFileName(QDir(programDir()).filePath(name));
    return download.start(url);
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
