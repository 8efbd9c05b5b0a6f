#include "programfiles.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramFiles {

static QString executable(const QString &base)
{
#ifdef Q_OS_WIN
    return base + QStringLiteral(".exe");
#else
    return base;
#endif
}

QString vaultName()
{
    return executable(QStringLiteral("Nimbrel"));
}

QString updaterName()
{
    return executable(QStringLiteral("NimbrelUp"));
}

QString pathInProgramDir(const QString &name)
{
    return pathIn(QCoreApplication::applicationDirPath(), name);
}

QString pathIn(const QString &dir, const QString &name)
{
    return QDir::toNativeSeparators(dir) + QDir::separator() + name;
}

QUrl updateServer()
{
    return QUrl(QStringLiteral("http://update.nimbrel.example.org"));
}

QByteArray updateKey()
{
    // Checked by the build: 64 hex digits or nothing.
    return QByteArray::fromHex(NIMBREL_UPDATE_KEY);
}

} // namespace ProgramFiles
