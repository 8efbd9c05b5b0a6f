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
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator() + name;
}

} // namespace ProgramFiles
