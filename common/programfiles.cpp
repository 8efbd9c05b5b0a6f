#include "programfiles.h"

#include "nimbrelversion.h"

#include <QDir>

namespace {

// Kept whole in the program file: the key is read back from it below.
const char releaseMarker[] = "NIMBREL_"
                             "RELEASE version=" QT_STRINGIFY(NIMBREL_VERSION_NUMBER) " key=" NIMBREL_UPDATE_KEY ";";

} // namespace

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

QString pathIn(const QString &dir, const QString &name)
{
    return QDir::toNativeSeparators(dir) + QDir::separator() + name;
}

QString translationName(const QString &language)
{
    return QStringLiteral("nimbrel_%1.qm").arg(language);
}

QString descriptionName()
{
    return QStringLiteral("Nimbrel.txt");
}

QString signatureName()
{
    return descriptionName() + QStringLiteral(".sig");
}

QUrl updateFolder()
{
    return QUrl(QStringLiteral(NIMBREL_UPDATE_URL));
}

QString versionText()
{
    return QStringLiteral(NIMBREL_VERSION_TEXT);
}

int versionNumber()
{
    return NIMBREL_VERSION_NUMBER;
}

QByteArray releaseMarkerPrefix()
{
    return QByteArray("NIMBREL_") + "RELEASE version=";
}

QByteArray updateKey()
{
    // Checked by the build: 64 hex digits or nothing.
    const QByteArray marker(releaseMarker);
    const qsizetype key = marker.indexOf(" key=") + 5;
    return QByteArray::fromHex(marker.mid(key, marker.size() - key - 1));
}

} // namespace ProgramFiles
