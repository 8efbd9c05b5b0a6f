#include "releasedescription.h"

#include "programfiles.h"
#include "releasesignature.h"

#include <QCryptographicHash>

namespace {

bool isDecimal(const QByteArray &digits, int longest)
{
    if (digits.isEmpty() || digits.size() > longest || (digits.size() > 1 && digits.startsWith('0')))
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

} // namespace

QStringList ReleaseDescription::fileNames()
{
    return {ProgramFiles::vaultName(), ProgramFiles::translationName(), ProgramFiles::updaterName()};
}

std::optional<ReleaseDescription> ReleaseDescription::parse(const QByteArray &text)
{
    if (!text.endsWith('\n') || text.size() > longestText)
        return std::nullopt;
    const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
    const QStringList names = fileNames();
    // Nine digits at most always fit an int.
    if (lines.size() != names.size() + 1 || !isDecimal(lines.at(0), 9))
        return std::nullopt;
    ReleaseDescription release;
    release.version = lines.at(0).toInt();
    for (int i = 0; i < names.size(); ++i) {
        const QList<QByteArray> fields = lines.at(i + 1).split(' ');
        if (fields.size() != 4 || !isSha256(fields.at(1)) || !isDecimal(fields.at(2), 10))
            return std::nullopt;
        const qint64 size = fields.at(2).toLongLong();
        if (size > largestFile)
            return std::nullopt;
        release.files.append({names.at(i), fields.at(1), size});
    }
    // Read back through text(), only the one spelling of a description passes.
    if (release.text() != text)
        return std::nullopt;
    return release;
}

std::optional<ReleaseDescription> ReleaseDescription::genuineUpdate(const QByteArray &text, const QByteArray &signature,
                                                                    const QByteArray &publicKey, int installedVersion)
{
    if (!ReleaseSignature::verify(text, signature, publicKey))
        return std::nullopt;
    const std::optional<ReleaseDescription> release = parse(text);
    if (!release || release->version <= installedVersion)
        return std::nullopt;
    return release;
}

QByteArray ReleaseDescription::sha256Of(const QByteArray &contents)
{
    return QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex();
}

QByteArray ReleaseDescription::text() const
{
    QByteArray text = QByteArray::number(version) + '\n';
    for (const File &file : files)
        text += "sha256 " + file.sha256 + ' ' + QByteArray::number(file.size) + ' ' + file.name.toUtf8() + '\n';
    return text;
}
