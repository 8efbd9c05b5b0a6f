#include "widget.h"

#include "plaintext.h"
#include "programfiles.h"
#include "qttranslation.h"
#include "releaseinstall.h"
#include "releasesignature.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <limits>

namespace {

// How long a second updater waits for the first to let go, as one that is
// just ending does.
constexpr int endingUpdaterWaitMs = 2000;

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
}

Widget::~Widget()
{
    // Torn down mid-way: nothing of it stays in the program directory.
    if (step != Finished && lock) {
        download.cancel();
        ReleaseInstall(setup.directory()).removeDownloads();
    }
}

void Widget::setInstalledVersion(int version)
{
    installedVersion = qMax(version, ProgramFiles::versionNumber());
}

QString Widget::fileName(int ofStep) const
{
    if (ofStep == Description || ofStep == Signature)
        return ofStep == Description ? ProgramFiles::descriptionName() : ProgramFiles::signatureName();
    return ReleaseDescription::fileNames().value(ofStep - Program);
}

QUrl Widget::fileUrl(int ofStep) const
{
    return setup.fileUrl(fileName(ofStep));
}

void Widget::placeOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(screen.width() / 3, screen.height() / 2, 250, 30);
}

int Widget::run(const UpdateSetup &setup, const QStringList &arguments, const QString &language)
{
    // The updater has no settings of its own. The vault's translation is
    // read into memory: the file itself is about to be replaced.
    QFile qm(QDir(setup.directory()).filePath(ProgramFiles::translationName(language)));
    const QByteArray texts = qm.open(QIODevice::ReadOnly) ? qm.readAll() : QByteArray();
    QTranslator translator;
    QTranslator qtTranslator;
    if (translator.load(reinterpret_cast<const uchar *>(texts.constData()), static_cast<int>(texts.size()))) {
        if (loadQtTranslation(qtTranslator, translator, setup.directory()))
            QCoreApplication::installTranslator(&qtTranslator);
        QCoreApplication::installTranslator(&translator);
    }

    Widget widget;
    widget.setup = setup;
    // Only a release newer than the vault that started the update may replace it.
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--installed")); at > 0)
        widget.setInstalledVersion(arguments.value(at + 1).toInt());
    widget.placeOnScreen();
    widget.show();
    QEventLoop running;
    connect(&widget, &Widget::done, &running, &QEventLoop::quit);
    // Started from the event loop, so that even an at once failure's done() ends it.
    QTimer::singleShot(0, &widget, &Widget::start);
    return running.exec();
}

void Widget::start()
{
    auto claimed = std::make_unique<UpdateLock>(setup.directory());
    if (!claimed->claim(endingUpdaterWaitMs)) {
        step = Finished;
        PlainText::tell(this, QMessageBox::Information, tr("Update"),
                        tr("An update is already being installed. This copy of the updater ends; "
                           "the other one starts Nimbrel when it is done."));
        emit done();
        return;
    }
    lock = std::move(claimed);
    ReleaseInstall(setup.directory()).recover();
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
    const ReleaseInstall install(setup.directory());
    file.setFileName(install.downloadPath(name));
    reset();
    if (step == Description || step == Signature)
        return download.start(url, step == Description ? ReleaseDescription::longestText : ReleaseSignature::size,
                              setup.descriptionDeadlineMs, setup.stallTimeoutMs);
    return download.start(url, release->files.at(step - Program).size, setup.fileDeadlineMs, setup.stallTimeoutMs,
                          install.downloadPermissions(name));
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
        const ReleaseInstall install(setup.directory());
        const QByteArray text = readShort(install.downloadPath(fileName(Description)));
        const QByteArray signature = readShort(install.downloadPath(fileName(Signature)));
        release = ReleaseDescription::parse(text);
        if (!ReleaseSignature::verify(text, signature, setup.publicKey))
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
    ReleaseInstall install(setup.directory());
    if (!install.matches(release->files.at(step - Program))) {
        // Cut off, altered or another file: only the signed contents are installed.
        fail(tr("The update was refused because the downloaded %1 differs from its signed description, "
                "so the current version stays in use.")
                 .arg(fileName(step)));
        return;
    }
    if (step != Updater) {
        next(static_cast<Step>(step + 1));
        return;
    }
    QString failure;
    if (!install.install(*release, &failure)) {
        fail(tr("The new version could not be put in place (%1), so the current version stays in use.").arg(failure));
        return;
    }
    step = Finished;
    install.removeDownloads();
    startVault();
}

void Widget::fail(const QString &message)
{
    step = Finished;
    download.cancel();
    ReleaseInstall(setup.directory()).removeDownloads();
    PlainText::tell(this, QMessageBox::Warning, tr("Update"), message);
    startVault();
}

void Widget::startVault()
{
    step = Finished;
    // Let go first: the vault ends at once while an update holds the directory.
    if (lock)
        lock->release();
    const QString vault = ProgramFiles::pathIn(setup.directory(), ProgramFiles::vaultName());
    if (!QProcess::startDetached(vault, QStringList()))
        PlainText::tell(this, QMessageBox::Warning, tr("Update"), tr("The vault %1 could not be started.").arg(vault));
    emit done();
}

void Widget::closeEvent(QCloseEvent *event)
{
    // Closed mid-way, nothing is installed and the installed vault comes back.
    if (step != Finished) {
        download.cancel();
        ReleaseInstall(setup.directory()).removeDownloads();
        startVault();
    }
    event->accept();
}
