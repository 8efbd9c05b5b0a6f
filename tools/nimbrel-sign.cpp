// Makes the key that signs updates and signs a release with it:
//   nimbrel-sign keygen SECRET_FILE
//   nimbrel-sign publish SECRET_FILE VERSION DIR
// DIR holds the release as built: the vault program, its translation and the
// updater; publish refuses programs whose built-in version or key is not the
// release's.
#include "programfiles.h"
#include "releasedescription.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <algorithm>
#include <cctype>
#include <optional>
#include <sodium.h>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

int failWith(const QString &message)
{
    QTextStream(stderr) << "nimbrel-sign: " << message << Qt::endl;
    return 1;
}

int usage()
{
    return failWith(QStringLiteral("usage: nimbrel-sign keygen SECRET_FILE\n"
                                   "       nimbrel-sign publish SECRET_FILE VERSION DIR"));
}

QByteArray publicKeyOf(const unsigned char *secretKey)
{
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_ed25519_sk_to_pk(publicKey, secretKey);
    return QByteArray(reinterpret_cast<const char *>(publicKey), sizeof publicKey);
}

// The secret file holds the 32-byte seed as hex digits: the key pair is
// made from it again at each use.
int keygen(const QString &secretPath)
{
    unsigned char seed[crypto_sign_SEEDBYTES];
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    randombytes_buf(seed, sizeof seed);
    crypto_sign_seed_keypair(publicKey, secretKey, seed);
    QFile secret(secretPath);
    // Created readable by its owner alone; an existing key is never overwritten.
    if (!secret.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return failWith(QStringLiteral("cannot create %1: %2").arg(secretPath, secret.errorString()));
    const QByteArray seedHex = QByteArray(reinterpret_cast<const char *>(seed), sizeof seed).toHex() + '\n';
    const bool written = secret.write(seedHex) == seedHex.size() && secret.flush();
    sodium_memzero(seed, sizeof seed);
    if (!written) {
        secret.remove();
        return failWith(QStringLiteral("cannot write %1").arg(secretPath));
    }
    out() << publicKeyOf(secretKey).toHex() << Qt::endl;
    sodium_memzero(secretKey, sizeof secretKey);
    return 0;
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

int publish(const QString &secretPath, const QString &versionText, const QString &dirPath)
{
    QFile secret(secretPath);
    if (!secret.open(QIODevice::ReadOnly))
        return failWith(QStringLiteral("cannot read %1: %2").arg(secretPath, secret.errorString()));
    const QByteArray seed = QByteArray::fromHex(secret.readAll().trimmed());
    if (seed.size() != crypto_sign_SEEDBYTES)
        return failWith(QStringLiteral("%1 holds no key made by nimbrel-sign keygen").arg(secretPath));
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    crypto_sign_seed_keypair(publicKey, secretKey, reinterpret_cast<const unsigned char *>(seed.constData()));
    const QByteArray key(reinterpret_cast<const char *>(publicKey), sizeof publicKey);

    const QDir dir(dirPath);
    ReleaseDescription release;
    bool isNumber = false;
    release.version = versionText.toInt(&isNumber);
    const QString versionLine = QString::number(release.version);
    if (!isNumber || versionLine != versionText || release.version <= 0)
        return failWith(QStringLiteral("the version must be a whole number like 213, not %1").arg(versionText));
    for (const QString &name : ReleaseDescription::fileNames()) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return failWith(QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
        const QByteArray contents = file.readAll();
        if (contents.size() > ReleaseDescription::largestFile)
            return failWith(QStringLiteral("%1 is larger than an update may be").arg(file.fileName()));
        release.files.append({name, ReleaseDescription::sha256Of(contents), contents.size()});
        if (name == ProgramFiles::translationName())
            continue;
        // A release that does not know its own version offers itself at every
        // start; one without the key, or with another, ends all updates.
        const std::optional<BuiltIn> builtIn = builtInOf(contents);
        if (!builtIn)
            return failWith(QStringLiteral("%1 is not a program of this project").arg(file.fileName()));
        if (builtIn->version != versionLine.toLatin1())
            return failWith(QStringLiteral("%1 is version %2, not %3: set the version in project(VERSION) of "
                                           "CMakeLists.txt and build again")
                                .arg(file.fileName(), QString::fromLatin1(builtIn->version), versionLine));
        if (builtIn->keyHex.isEmpty())
            return failWith(QStringLiteral("%1 was built without a key: configure with -DNIMBREL_UPDATE_KEY=%2 "
                                           "and build again")
                                .arg(file.fileName(), QString::fromLatin1(key.toHex())));
        if (QByteArray::fromHex(builtIn->keyHex) != key)
            return failWith(QStringLiteral("%1 was built with the key %2, which %3 does not sign for")
                                .arg(file.fileName(), QString::fromLatin1(builtIn->keyHex), secretPath));
    }

    const QByteArray text = release.text();
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char *>(text.constData()),
                         static_cast<unsigned long long>(text.size()), secretKey);
    sodium_memzero(secretKey, sizeof secretKey);
    if (!ReleaseDescription::parse(text) || !ReleaseDescription::signedBy(text, signature, key))
        return failWith(QStringLiteral("the description or its signature does not check out"));

    for (const auto &[name, contents] :
         {std::pair {QStringLiteral("Nimbrel.txt"), text}, std::pair {QStringLiteral("Nimbrel.txt.sig"), signature}}) {
        QSaveFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
            return failWith(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    }
    out() << "Signed " << dir.filePath(QStringLiteral("Nimbrel.txt")) << " for the key " << key.toHex() << ":\n"
          << text << "Put the five files of " << dir.path() << " into the folder "
          << ProgramFiles::updateFolder().toString() << " of the update server." << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (sodium_init() < 0)
        return failWith(QStringLiteral("libsodium cannot be initialised"));
    if (args.size() == 2 && args.at(0) == QLatin1String("keygen"))
        return keygen(args.at(1));
    if (args.size() == 4 && args.at(0) == QLatin1String("publish"))
        return publish(args.at(1), args.at(2), args.at(3));
    return usage();
}
