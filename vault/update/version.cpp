#include "update/version.h"

#include "plaintext.h"
#include "programfiles.h"
#include "releasesignature.h"
#include "updatelock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

namespace {

// How long the vault waits for the updater it started to claim the program
// directory, so that a vault started meanwhile finds the update under way.
constexpr int updaterClaimWaitMs = 3000;

QByteArray readAndRemove(QFile &file, bool read)
{
    QByteArray contents;
    if (read && file.open(QIODevice::ReadOnly)) {
        contents = file.read(ReleaseDescription::longestText);
        file.close();
    }
    QFile::remove(file.fileName());
    return contents;
}

} // namespace

Version::Version(QWidget *parent)
    : QWidget(parent)
{
    connect(&download, &FileDownload::finished, this, &Version::descriptionDone);
    connect(&signatureDownload, &FileDownload::finished, this, &Version::httpDone);
}

Version::~Version() = default;

QUrl Version::versionFileUrl() const
{
    return setup.fileUrl(ProgramFiles::descriptionName());
}

bool Version::startDownload(const QUrl &url)
{
    // Nothing could prove a release genuine: ask no server at all.
    if (setup.publicKey.isEmpty() || download.isRunning() || signatureDownload.isRunning())
        return false;
    QString name = QFileInfo(url.path()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("version.out");
    file.setFileName(QDir(setup.directory()).filePath(name));
    signatureFile.setFileName(QDir(setup.directory()).filePath(name + QStringLiteral(".sig")));
    signatureUrl = url;
    signatureUrl.setPath(url.path() + QStringLiteral(".sig"));
    return download.start(url, ReleaseDescription::longestText, setup.descriptionDeadlineMs, setup.stallTimeoutMs);
}

void Version::descriptionDone(bool error)
{
    if (error
        || !signatureDownload.start(signatureUrl, ReleaseSignature::size, setup.descriptionDeadlineMs,
                                    setup.stallTimeoutMs))
        httpDone(true);
}

void Version::httpDone(bool error)
{
    file.close();
    signatureFile.close();
    const QByteArray text = readAndRemove(file, !error);
    const QByteArray signature = readAndRemove(signatureFile, !error);
    if (!error && ReleaseDescription::genuineUpdate(text, signature, setup.publicKey, ProgramFiles::versionNumber()))
        offerUpdate();
}

void Version::offerUpdate()
{
    if (PlainText::tell(this, QMessageBox::Information, tr("Update"), tr("New version is checked, update now?"),
                        QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // The vault program ends without closing its windows; what the user has
    // typed is written first, and without that there is no update.
    if (saveEdits && !saveEdits()) {
        PlainText::tell(this, QMessageBox::Information, tr("Update"),
                        tr("The update is put off because your changes could not be saved. "
                           "It will be offered again at the next start."));
        return;
    }
    const QString updater = ProgramFiles::pathIn(setup.directory(), ProgramFiles::updaterName());
    qint64 pid = 0;
    if (!QProcess::startDetached(updater,
                                 {QStringLiteral("--installed"), QString::number(ProgramFiles::versionNumber())},
                                 QString(), &pid)) {
        PlainText::tell(this, QMessageBox::Warning, tr("Update"),
                        tr("The updater %1 could not be started. This version stays in use.").arg(updater));
        return;
    }
    UpdateLock(setup.directory()).waitForHolder(pid, updaterClaimWaitMs);
    emit done();
}
