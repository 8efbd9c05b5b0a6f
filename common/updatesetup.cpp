#include "updatesetup.h"

#include <QCoreApplication>

QString UpdateSetup::directory() const
{
    return programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
}

QUrl UpdateSetup::fileUrl(const QString &name) const
{
    return server.resolved(QUrl(name));
}
