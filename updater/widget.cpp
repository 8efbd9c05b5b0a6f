#include "widget.h"

#include "programfiles.h"

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
#include <cerrno>
#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#endif

namespace {

const char *const translationName = "nimbrel_zh_CN.qm";
// A description is a few hundred bytes, its signature 64.
constexpr qint64 longestDescription = 4096;

// Puts from in place of to in one step: if that fails, to stays as it was.
bool replaceFile(const QString &from, const QString &to, QString &failure)
{
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    failure = qt_error_string(static_cast<int>(GetLastError()));
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    failure = qt_error_string(errno);
#endif
    return false;
}

void makeExecutable(const QString &download, const QString &installed)
{
#ifdef Q_OS_WIN
    Q_UNUSED(download);
    Q_UNUSED(installed);
#else
    QFileDevice::Permissions permissions = QFile::permissions(installed);
    if (!permissions)
        permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther;
    permissions |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (permissions & QFileDevice::ReadGroup)
        permissions |= QFileDevice::ExeGroup;
    if (permissions & QFileDevice::ReadOther)
        permissions |= QFileDevice::ExeOther;
    QFile::setPermissions(download, permissions);
#endif
}

QByteArray readShort(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.read(longestDescription) : QByteArray();
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
    if (step != Finished) {
        download.cancel();
        removeDownloads();
    }
}

void Widget::setUp(const UpdateSetup &newSetup)
{
    setup = newSetup;
    download.setStallTimeout(setup.stallTimeoutMs);
}

QString Widget::programDir() const
{
    return setup.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : setup.programDir;
}

QUrl Widget::fileUrl(int ofStep) const
{
    const QString names[] = {QStringLiteral("Nimbrel.txt"), QStringLiteral("Nimbrel.txt.sig"),
                             ProgramFiles::vaultName(), QString::fromLatin1(translationName)};
    return setup.server.resolved(QUrl(QStringLiteral("/update/") + names[qBound(0, ofStep, 3)]));
}

QString Widget::installedPath(int ofStep) const
{
    return QDir(programDir()).filePath(ofStep == Program ? ProgramFiles::vaultName()
                                                         : QString::fromLatin1(translationName));
}

QString Widget::downloadPath(int ofStep) const
{
    return QDir(programDir()).filePath(QFileInfo(fileUrl(ofStep).path()).fileName() + QStringLiteral(".bak"));
}

void Widget::placeOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(screen.width() / 3, screen.height() / 2, 250, 30);
}

void Widget::start()
{
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
    file.setFileName(QDir(programDir()).filePath(name + QStringLiteral(".bak")));
    reset();
    return download.start(url);
}

void Widget::next(Step nextStep)
{
    step = nextStep;
    if (!startDownload(fileUrl(step)))
        fail(tr("The update could not be written to %1 (%2), so the current version stays in use.")
                 .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
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
    switch (step) {
    case Description:
        next(Signature);
        return;
    case Signature: {
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
        else if (release->version <= ReleaseDescription::ownVersion)
            fail(tr("The update was refused because it is not newer than this version, "
                    "so the current version stays in use."));
        else
            next(Program);
        return;
    }
    case Program:
        if (matchesRelease(release->programSha256))
            next(Translation);
        return;
    case Translation: {
        if (!matchesRelease(release->translationSha256))
            return;
        QString failure;
        if (!install(failure)) {
            fail(tr("The new version could not be put in place (%1), so the current version stays in use.")
                     .arg(failure));
            return;
        }
        step = Finished;
        removeDownloads();
        startVault();
        return;
    }
    default:
        return;
    }
}

bool Widget::matchesRelease(const QByteArray &sha256)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly)) {
        hash.addData(&file);
        file.close();
    }
    if (hash.result().toHex() == sha256)
        return true;
    // Cut off, altered or another file: only the signed contents are installed.
    fail(tr("The update was refused because the downloaded %1 differs from its signed description, "
            "so the current version stays in use.")
             .arg(QFileInfo(installedPath(step)).fileName()));
    return false;
}

// Puts both downloads in place or neither: each installed file is copied
// aside before its replace, and the copies are put back if a later step fails.
bool Widget::install(QString &failure)
{
    struct Replaced
    {
        QString installed;
        QString kept;
    };
    QList<Replaced> replaced;
    const auto undo = [&replaced]() {
        for (const Replaced &done : replaced) {
            QString ignored;
            if (done.kept.isEmpty())
                QFile::remove(done.installed);
            else
                replaceFile(done.kept, done.installed, ignored);
        }
    };
    makeExecutable(downloadPath(Program), installedPath(Program));
    for (int each : {Program, Translation}) {
        const QString installed = installedPath(each);
        QString kept;
        if (QFileInfo::exists(installed)) {
            kept = installed + QStringLiteral(".old");
            QFile::remove(kept);
            QFile old(installed);
            if (!old.copy(kept)) {
                failure = QDir::toNativeSeparators(installed) + QStringLiteral(": ") + old.errorString();
                undo();
                return false;
            }
        }
        if (!replaceFile(downloadPath(each), installed, failure)) {
            failure = QDir::toNativeSeparators(installed) + QStringLiteral(": ") + failure;
            if (!kept.isEmpty())
                QFile::remove(kept);
            undo();
            return false;
        }
        replaced.append({installed, kept});
    }
    for (const Replaced &done : replaced) {
        if (!done.kept.isEmpty())
            QFile::remove(done.kept);
    }
    return true;
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
    for (int each : {Description, Signature, Program, Translation})
        QFile::remove(downloadPath(each));
}

void Widget::startVault()
{
    step = Finished;
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
