#include "update/version.h"

Version::Version(QWidget *parent)
    : QWidget(parent)
{
}

QUrl Version::versionFileUrl()
{
    return QUrl(QStringLiteral("http://update.nimbrel.example.org/update/Nimbrel.txt"));
}

bool Version::startDownload(const QUrl &url)
{
    Q_UNUSED(url);
    return false;
}
