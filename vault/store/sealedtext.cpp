#include "store/sealedtext.h"

#include "store/datakey.h"

#include <sodium.h>

namespace SealedText {

namespace {

static_assert(nonceSize == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
constexpr int tagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;

const QByteArray prefixBytes = prefix.toLatin1();

const unsigned char *bytesOf(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

} // namespace

bool isSealed(const QString &stored)
{
    return stored.startsWith(prefix);
}

bool isSealedUtf8(QByteArrayView stored)
{
    return stored.startsWith(prefixBytes);
}

QByteArray columnData(const QString &table, const QString &column)
{
    return (table + QLatin1Char('.') + column).toUtf8();
}

QString seal(const DataKey &key, const QString &text, QByteArrayView columnData)
{
    unsigned char nonce[nonceSize];
    randombytes_buf(nonce, nonceSize);
    return QString::fromLatin1(sealUtf8(key, text.toUtf8(), columnData, nonce));
}

std::optional<QString> open(const DataKey &key, const QString &stored, QByteArrayView columnData)
{
    if (!isSealed(stored))
        return std::nullopt;
    const std::optional<QByteArray> opened = openUtf8(key, stored.toUtf8(), columnData);
    if (!opened)
        return std::nullopt;
    return QString::fromUtf8(*opened);
}

QByteArray sealUtf8(const DataKey &key, QByteArrayView text, QByteArrayView columnData, const unsigned char *nonce)
{
    QByteArray sealed(nonceSize + text.size() + tagSize, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(sealed.data());
    std::copy(nonce, nonce + nonceSize, out);
    crypto_aead_xchacha20poly1305_ietf_encrypt(out + nonceSize, nullptr, bytesOf(text), text.size(),
                                               bytesOf(columnData), columnData.size(), nullptr, out, key.data());
    return prefixBytes + sealed.toBase64();
}

std::optional<QByteArray> openUtf8(const DataKey &key, QByteArrayView stored, QByteArrayView columnData)
{
    if (!isSealedUtf8(stored) || key.isEmpty())
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(stored.sliced(prefixBytes.size()).toByteArray(),
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
    return plain;
}

} // namespace SealedText
