#include "releasedescription.h"

#include "programfiles.h"

#include <QCryptographicHash>
#include <QList>
#include <sodium.h>

namespace {

const char *const translationName = "nimbrel_zh_CN.qm";

bool isDecimal(const QByteArray &digits)
{
    // Nine digits at most always fit an int.
    if (digits.isEmpty() || digits.size() > 9)
        return false;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isSha256(const QByteArray &hex)
{
    if (hex.size() != 64)
        return false;
    for (char c : hex) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

QByteArray fileLine(const QByteArray &sha256, const QString &name)
{
    return "sha256 " + sha256 + ' ' + name.toUtf8() + '\n';
}

} // namespace

std::optional<ReleaseDescription> ReleaseDescription::parse(const QByteArray &text)
{
    if (!text.endsWith('\n'))
        return std::nullopt;
    const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
    if (lines.size() != 3 || !isDecimal(lines.at(0)))
        return std::nullopt;
    ReleaseDescription release;
    release.version = lines.at(0).toInt();
    release.programSha256 = lines.at(1).mid(7, 64);
    release.translationSha256 = lines.at(2).mid(7, 64);
    // Read back through text(), only the one spelling of a description passes.
    if (!isSha256(release.programSha256) || !isSha256(release.translationSha256) || release.text() != text)
        return std::nullopt;
    return release;
}

bool ReleaseDescription::signedBy(const QByteArray &text, const QByteArray &signature, const QByteArray &publicKey)
{
    if (signature.size() != crypto_sign_BYTES || publicKey.size() != crypto_sign_PUBLICKEYBYTES
        || sodium_init() < 0)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()),
                                       reinterpret_cast<const unsigned char *>(text.constData()),
                                       static_cast<unsigned long long>(text.size()),
                                       reinterpret_cast<const unsigned char *>(publicKey.constData()))
        == 0;
}

std::optional<ReleaseDescription> ReleaseDescription::genuineUpdate(const QByteArray &text,
                                                                    const QByteArray &signature,
                                                                    const QByteArray &publicKey)
{
    if (!signedBy(text, signature, publicKey))
        return std::nullopt;
    const std::optional<ReleaseDescription> release = parse(text);
    if (!release || release->version <= ownVersion)
        return std::nullopt;
    return release;
}

QByteArray ReleaseDescription::sha256Of(const QByteArray &contents)
{
    return QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex();
}

QByteArray ReleaseDescription::text() const
{
    return QByteArray::number(version) + '\n' + fileLine(programSha256, ProgramFiles::vaultName())
        + fileLine(translationSha256, QString::fromLatin1(translationName));
}
