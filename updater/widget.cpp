#include "widget.h"

#include "programfiles.h"
#include "releaseinstall.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <limits>

namespace {

// How long a second updater waits for the first to let go, as one that is
// just ending does.
constexpr int endingUpdaterWaitMs = 2000;

// The permissions of the installed file, executable for a program, so that
// a download taking its place keeps who may read it.
QFileDevice::Permissions permissionsFor(const QString &installed, bool program)
{
    QFileDevice::Permissions permissions = QFile::permissions(installed);
    if (!permissions)
        permissions =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (program) {
        permissions |= QFileDevice::ExeOwner;
        if (permissions & QFileDevice::ReadGroup)
            permissions |= QFileDevice::ExeGroup;
        if (permissions & QFileDevice::ReadOther)
            permissions |= QFileDevice::ExeOther;
    }
    return permissions;
}

QByteArray readShort(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.read(ReleaseDescription::longestText) : QByteArray();
}

} // namespace

Widget::Widget(QWidget *parent)
    : QProgressBar(parent)
{
    setMinimum(0);
    setWindowIcon(QIcon(QStringLiteral(":/update.png")));
    connect(&download, &FileDownload::progress, this, &Widget::readProgress);
    connect(&download, &FileDownload::finished, this, &Widget::httpDone);
    setUp(setup);
}

Widget::~Widget()
{
    // Torn down mid-way: nothing of it stays in the program directory.
    if (step != Finished && lock) {
        download.cancel();
        removeDownloads();
    }
}

void Widget::setUp(const UpdateSetup &newSetup)
{
    setup = newSetup;
    download.setStallTimeout(setup.stallTimeoutMs);
}

void Widget::setInstalledVersion(int version)
{
    installedVersion = qMax(version, ReleaseDescription::ownVersion);
}

QString Widget::programDir() const
{
    return setup.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : setup.programDir;
}

QString Widget::fileName(int ofStep) const
{
    if (ofStep == Description || ofStep == Signature)
        return ofStep == Description ? QStringLiteral("Nimbrel.txt") : QStringLiteral("Nimbrel.txt.sig");
    return ReleaseDescription::fileNames().value(ofStep - Program);
}

QUrl Widget::fileUrl(int ofStep) const
{
    return setup.server.resolved(QUrl(fileName(ofStep)));
}

QString Widget::downloadPath(int ofStep) const
{
    return QDir(programDir()).filePath(ReleaseInstall::downloadName(fileName(ofStep)));
}

void Widget::placeOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(screen.width() / 3, screen.height() / 2, 250, 30);
}

void Widget::start()
{
    auto claimed = std::make_unique<UpdateLock>(programDir());
    if (!claimed->claim(endingUpdaterWaitMs)) {
        step = Finished;
        QMessageBox::information(this, tr("Update"),
                                 tr("An update is already being installed. This copy of the updater ends; "
                                    "the other one starts Nimbrel when it is done."));
        emit done();
        return;
    }
    lock = std::move(claimed);
    ReleaseInstall(programDir()).recover();
    if (setup.publicKey.isEmpty()) {
        fail(tr("This build has no key to check an update with, so the current version stays in use."));
        return;
    }
    next(Description);
}

bool Widget::startDownload(const QUrl &url)
{
    if (download.isRunning())
        return false;
    QString name = QFileInfo(url.path()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("update.out");
    file.setFileName(QDir(programDir()).filePath(ReleaseInstall::downloadName(name)));
    reset();
    if (step == Description || step == Signature)
        return download.start(url,
                              step == Description ? ReleaseDescription::longestText : ReleaseDescription::signatureSize,
                              setup.descriptionDeadlineMs);
    const QString installed = QDir(programDir()).filePath(name);
    return download.start(url, release->files.at(step - Program).size, setup.fileDeadlineMs,
                          permissionsFor(installed, step != Translation));
}

void Widget::next(Step nextStep)
{
    step = nextStep;
    if (!startDownload(fileUrl(step)))
        fail(tr("The update could not be written to %1 (%2), so the current version stays in use.")
                 .arg(QDir::toNativeSeparators(file.fileName()), download.errorString()));
}

void Widget::readProgress(qint64 done, qint64 total)
{
    // An unknown length gives the range 0 to 0: the bar shows itself busy.
    if (total < 0)
        total = 0;
    while (total > (std::numeric_limits<int>::max)()) {
        total >>= 10;
        done >>= 10;
    }
    setMaximum(static_cast<int>(total));
    setValue(static_cast<int>(done));
}

void Widget::httpDone(bool error)
{
    file.close();
    if (step == Finished)
        return;
    if (error) {
        fail(tr("The download of %1 failed (%2), so the current version stays in use.")
                 .arg(fileUrl(step).toDisplayString(), download.errorString()));
        return;
    }
    if (step == Description) {
        next(Signature);
        return;
    }
    if (step == Signature) {
        // Nothing the vault program read is trusted: the description is
        // checked here again.
        const QByteArray text = readShort(downloadPath(Description));
        const QByteArray signature = readShort(downloadPath(Signature));
        release = ReleaseDescription::parse(text);
        if (!ReleaseDescription::signedBy(text, signature, setup.publicKey))
            fail(tr("The update was refused because its description is not signed with the publisher's key, "
                    "so the current version stays in use."));
        else if (!release)
            fail(tr("The update was refused because its description cannot be read, "
                    "so the current version stays in use."));
        else if (release->version <= installedVersion)
            fail(tr("The update was refused because it is not newer than this version, "
                    "so the current version stays in use."));
        else
            next(Program);
        return;
    }
    if (!matchesRelease())
        return;
    if (step != Updater) {
        next(static_cast<Step>(step + 1));
        return;
    }
    QString failure;
    if (!ReleaseInstall(programDir()).install(*release, failure)) {
        fail(tr("The new version could not be put in place (%1), so the current version stays in use.").arg(failure));
        return;
    }
    step = Finished;
    removeDownloads();
    startVault();
}

bool Widget::matchesRelease()
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly)) {
        hash.addData(&file);
        file.close();
    }
    if (hash.result().toHex() == release->files.at(step - Program).sha256)
        return true;
    // Cut off, altered or another file: only the signed contents are installed.
    fail(tr("The update was refused because the downloaded %1 differs from its signed description, "
            "so the current version stays in use.")
             .arg(fileName(step)));
    return false;
}

void Widget::fail(const QString &message)
{
    step = Finished;
    download.cancel();
    removeDownloads();
    QMessageBox::warning(this, tr("Update"), message);
    startVault();
}

void Widget::removeDownloads()
{
    for (int each = Description; each < Finished; ++each)
        QFile::remove(downloadPath(each));
}

void Widget::startVault()
{
    step = Finished;
    // Let go first: the vault ends at once while an update holds the directory.
    if (lock)
        lock->release();
    const QString vault = ProgramFiles::pathIn(programDir(), ProgramFiles::vaultName());
    if (!QProcess::startDetached(vault, QStringList()))
        QMessageBox::warning(this, tr("Update"), tr("The vault %1 could not be started.").arg(vault));
    emit done();
}

void Widget::closeEvent(QCloseEvent *event)
{
    // Closed mid-way, nothing is installed and the installed vault comes back.
    if (step != Finished) {
        download.cancel();
        removeDownloads();
        startVault();
    }
    event->accept();
}
