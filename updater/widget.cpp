#include "widget.h"

#include "programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QProcess>
#include <QScreen>
#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#endif

namespace {

const char *const translationName = "nimbrel_zh_CN.qm";

bool startsWithAny(QFile &file, std::initializer_list<QByteArray> magics)
{
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(16);
    file.close();
    for (const QByteArray &magic : magics) {
        if (head.startsWith(magic))
            return true;
    }
    return false;
}

// A server behind a captive portal or misconfigured answers with a page;
// only a program of this platform is ever installed.
bool isProgram(QFile &file)
{
#if defined(Q_OS_WIN)
    return startsWithAny(file, {QByteArrayLiteral("MZ")});
#elif defined(Q_OS_MACOS)
    return startsWithAny(file, {QByteArray::fromHex("cffaedfe"), QByteArray::fromHex("cefaedfe"),
                                QByteArray::fromHex("cafebabe")});
#else
    return startsWithAny(file, {QByteArrayLiteral("\x7f" "ELF")});
#endif
}

bool isTranslation(QFile &file)
{
    return startsWithAny(file, {QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd")});
}

// Puts the download in place of the installed file in one step: if that
// fails, the old file stays as it was.
bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

void makeExecutable(QFile &file, const QString &installed)
{
#ifdef Q_OS_WIN
    Q_UNUSED(file);
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
    file.setPermissions(permissions);
#endif
}

} // namespace

Widget::Widget(QWidget *parent)
    : QProgressBar(parent)
    , server(ProgramFiles::updateServer())
{
    setMinimum(0);
    setWindowIcon(QIcon(QStringLiteral(":/update.png")));
    connect(&download, &FileDownload::progress, this, &Widget::readProgress);
    connect(&download, &FileDownload::finished, this, &Widget::httpDone);
}

Widget::~Widget() = default;

void Widget::setServer(const QUrl &base)
{
    server = base;
}

void Widget::setProgramDir(const QString &programDir)
{
    dir = programDir;
}

QString Widget::programDir() const
{
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

QUrl Widget::fileUrl(int ofStep) const
{
    const QString name = ofStep == 0 ? ProgramFiles::vaultName() : QString::fromLatin1(translationName);
    return server.resolved(QUrl(QStringLiteral("/update/") + name));
}

QString Widget::installedPath(int ofStep) const
{
    return QDir(programDir()).filePath(ofStep == 0 ? ProgramFiles::vaultName()
                                                   : QString::fromLatin1(translationName));
}

void Widget::placeOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(screen.width() / 3, screen.height() / 2, 250, 30);
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
    if (step != 0 && step != 1)
        return;
    const bool whole = !error && (step == 0 ? isProgram(file) : isTranslation(file));
    if (!whole) {
        // Neither a torn download nor an error page is kept or installed; the
        // window stays until the user closes it.
        file.remove();
        return;
    }
    const QString installed = installedPath(step);
    if (step == 0)
        makeExecutable(file, installed);
    // A failed replace leaves the download beside the old file.
    replaceFile(file.fileName(), installed);
    if (step == 0) {
        step = 1;
        startDownload(fileUrl(1));
        return;
    }
    QProcess::startDetached(ProgramFiles::pathIn(programDir(), ProgramFiles::vaultName()), QStringList());
    emit done();
}
