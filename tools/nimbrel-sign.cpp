// Makes the key that signs updates and signs a release with it:
//   nimbrel-sign keygen SECRET_FILE
//   nimbrel-sign publish SECRET_FILE VERSION DIR
// DIR holds the release as built: the vault program, its translation and the
// updater; publish refuses programs whose built-in version or key is not the
// release's.
#include "programfiles.h"
#include "releasedescription.h"
#include "releasesignature.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <algorithm>
#include <cctype>
#include <optional>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

bool failWith(const QString &message, QString *error)
{
    if (error)
        *error = message;
    return false;
}

// The secret file holds the 32-byte seed as hex digits: the key pair is
// made from it again at each use.
bool keygen(const QString &secretPath, QString *error)
{
    const QByteArray seed = ReleaseSignature::newSeed();
    if (seed.isEmpty())
        return failWith(QStringLiteral("libsodium cannot be initialised"), error);
    QFile secret(secretPath);
    // Created readable by its owner alone; an existing key is never overwritten.
    if (!secret.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return failWith(QStringLiteral("cannot create %1: %2").arg(secretPath, secret.errorString()), error);
    const QByteArray seedHex = seed.toHex() + '\n';
    if (secret.write(seedHex) != seedHex.size() || !secret.flush()) {
        secret.remove();
        return failWith(QStringLiteral("cannot write %1").arg(secretPath), error);
    }
    out() << ReleaseSignature::publicKeyOf(seed).toHex() << Qt::endl;
    return true;
}

// The version and key a built program states in its release marker.
struct BuiltIn
{
    QByteArray version;
    QByteArray keyHex;
};

std::optional<BuiltIn> builtInOf(const QByteArray &program)
{
    const QByteArray prefix = ProgramFiles::releaseMarkerPrefix();
    std::optional<BuiltIn> found;
    for (qsizetype at = program.indexOf(prefix); at >= 0; at = program.indexOf(prefix, at + 1)) {
        const qsizetype keyAt = program.indexOf(" key=", at);
        const qsizetype end = program.indexOf(';', at);
        if (keyAt < 0 || end < keyAt || end - at > prefix.size() + 100)
            continue;
        const BuiltIn builtIn {program.mid(at + prefix.size(), keyAt - at - prefix.size()),
                               program.mid(keyAt + 5, end - keyAt - 5)};
        const QByteArray digits = builtIn.version + builtIn.keyHex;
        if (!builtIn.version.isEmpty() && std::all_of(digits.begin(), digits.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c));
            }))
            found = builtIn;
    }
    return found;
}

bool publish(const QString &secretPath, const QString &versionText, const QString &dirPath, QString *error)
{
    QFile secret(secretPath);
    if (!secret.open(QIODevice::ReadOnly))
        return failWith(QStringLiteral("cannot read %1: %2").arg(secretPath, secret.errorString()), error);
    const QByteArray seed = QByteArray::fromHex(secret.readAll().trimmed());
    const QByteArray key = ReleaseSignature::publicKeyOf(seed);
    if (key.isEmpty())
        return failWith(QStringLiteral("%1 holds no key made by nimbrel-sign keygen").arg(secretPath), error);

    const QDir dir(dirPath);
    ReleaseDescription release;
    bool isNumber = false;
    release.version = versionText.toInt(&isNumber);
    const QString versionLine = QString::number(release.version);
    if (!isNumber || versionLine != versionText || release.version <= 0)
        return failWith(QStringLiteral("the version must be a whole number like 213, not %1").arg(versionText), error);
    for (const QString &name : ReleaseDescription::fileNames()) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return failWith(QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()), error);
        const QByteArray contents = file.readAll();
        if (contents.size() > ReleaseDescription::largestFile)
            return failWith(QStringLiteral("%1 is larger than an update may be").arg(file.fileName()), error);
        release.files.append({name, ReleaseDescription::sha256Of(contents), contents.size()});
        if (name == ProgramFiles::translationName())
            continue;
        // A release that does not know its own version offers itself at every
        // start; one without the key, or with another, ends all updates.
        const std::optional<BuiltIn> builtIn = builtInOf(contents);
        if (!builtIn)
            return failWith(QStringLiteral("%1 is not a program of this project").arg(file.fileName()), error);
        if (builtIn->version != versionLine.toLatin1())
            return failWith(QStringLiteral("%1 is version %2, not %3: set the version in project(VERSION) of "
                                           "CMakeLists.txt and build again")
                                .arg(file.fileName(), QString::fromLatin1(builtIn->version), versionLine),
                            error);
        if (builtIn->keyHex.isEmpty())
            return failWith(QStringLiteral("%1 was built without a key: configure with -DNIMBREL_UPDATE_KEY=%2 "
                                           "and build again")
                                .arg(file.fileName(), QString::fromLatin1(key.toHex())),
                            error);
        if (QByteArray::fromHex(builtIn->keyHex) != key)
            return failWith(QStringLiteral("%1 was built with the key %2, which %3 does not sign for")
                                .arg(file.fileName(), QString::fromLatin1(builtIn->keyHex), secretPath),
                            error);
    }

    const QByteArray text = release.text();
    const QByteArray signature = ReleaseSignature::sign(text, seed);
    if (!ReleaseDescription::parse(text) || !ReleaseSignature::verify(text, signature, key))
        return failWith(QStringLiteral("the description or its signature does not check out"), error);

    for (const auto &[name, contents] :
         {std::pair {ProgramFiles::descriptionName(), text}, std::pair {ProgramFiles::signatureName(), signature}}) {
        QSaveFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
            return failWith(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()), error);
    }
    out() << "Signed " << dir.filePath(ProgramFiles::descriptionName()) << " for the key " << key.toHex() << ":\n"
          << text << "Put the five files of " << dir.path() << " into the folder "
          << ProgramFiles::updateFolder().toString() << " of the update server." << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString error = QStringLiteral("usage: nimbrel-sign keygen SECRET_FILE\n"
                                   "       nimbrel-sign publish SECRET_FILE VERSION DIR");
    if ((args.size() == 2 && args.at(0) == QLatin1String("keygen") && keygen(args.at(1), &error))
        || (args.size() == 4 && args.at(0) == QLatin1String("publish")
            && publish(args.at(1), args.at(2), args.at(3), &error)))
        return 0;
    QTextStream(stderr) << "nimbrel-sign: " << error << Qt::endl;
    return 1;
}
