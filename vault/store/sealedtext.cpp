#include "store/sealedtext.h"

#include "store/datakey.h"

#include <sodium.h>

namespace SealedText {

namespace {

constexpr int nonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int tagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;

const unsigned char *bytesOf(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

} // namespace

bool isSealed(const QString &stored)
{
    return stored.startsWith(prefix);
}

QByteArray columnData(const QString &table, const QString &column)
{
    return (table + QLatin1Char('.') + column).toUtf8();
}

QString seal(const DataKey &key, const QString &text, QByteArrayView columnData)
{
    const QByteArray plain = text.toUtf8();
    QByteArray sealed(nonceSize + plain.size() + tagSize, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(sealed.data());
    randombytes_buf(out, nonceSize);
    crypto_aead_xchacha20poly1305_ietf_encrypt(out + nonceSize, nullptr, bytesOf(plain), plain.size(),
                                               bytesOf(columnData), columnData.size(), nullptr, out, key.data());
    return prefix + QLatin1String(sealed.toBase64());
}

std::optional<QString> open(const DataKey &key, const QString &stored, QByteArrayView columnData)
{
    if (!isSealed(stored) || key.isEmpty())
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(QStringView(stored).mid(prefix.size()).toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() < nonceSize + tagSize)
        return std::nullopt;
    const QByteArray &sealed = decoded.decoded;
    QByteArray plain(sealed.size() - nonceSize - tagSize, Qt::Uninitialized);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char *>(plain.data()), nullptr, nullptr,
                                                   bytesOf(sealed) + nonceSize, sealed.size() - nonceSize,
                                                   bytesOf(columnData), columnData.size(), bytesOf(sealed), key.data())
        != 0)
        return std::nullopt;
    return QString::fromUtf8(plain);
}

} // namespace SealedText
