#include "store/keyenvelope.h"

#include "store/datakey.h"
#include "store/sealedtext.h"

#include <QStringList>

#include <sodium.h>

namespace KeyEnvelope {

namespace {

const QString method = QStringLiteral("argon2id");
// The wrapped key is bound to its place like every sealed text.
const QByteArray columnData = QByteArrayLiteral("option.password");

constexpr int saltSize = crypto_pwhash_SALTBYTES;
constexpr int nonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int wrappedSize = DataKey::size + crypto_aead_xchacha20poly1305_ietf_ABYTES;

// Far beyond what any program here writes; an envelope asking for more
// would only hold the window for minutes or fail for want of memory.
constexpr unsigned long long mostOperations = 16;
constexpr std::size_t mostMemory = std::size_t(1) << 30;

Limits &limitsInEffect()
{
    static Limits limits {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE};
    return limits;
}

// The wrapping key, in guarded memory like the data key.
DataKey derive(const QString &password, const unsigned char *salt, Limits limits)
{
    QByteArray secret = password.toUtf8();
    DataKey key = DataKey::make([&](unsigned char *bytes) {
        return crypto_pwhash(bytes, DataKey::size, secret.constData(), secret.size(), salt, limits.operations,
                             limits.memory, crypto_pwhash_ALG_ARGON2ID13)
            == 0;
    });
    sodium_memzero(secret.data(), secret.size());
    return key;
}

QString base64(const unsigned char *bytes, int size)
{
    return QLatin1String(QByteArray(reinterpret_cast<const char *>(bytes), size).toBase64());
}

bool decode(const QString &field, int size, QByteArray *out)
{
    const auto decoded = QByteArray::fromBase64Encoding(field.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != size)
        return false;
    *out = decoded.decoded;
    return true;
}

const unsigned char *bytesOf(const QByteArray &bytes)
{
    return reinterpret_cast<const unsigned char *>(bytes.constData());
}

} // namespace

Limits limits()
{
    return limitsInEffect();
}

void setLimits(Limits limits)
{
    limitsInEffect() = limits;
}

Limits smallestLimits()
{
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

bool isEnvelope(const QString &text)
{
    return text.startsWith(SealedText::prefix + method + QLatin1Char(':'));
}

QString wrap(const DataKey &key, const QString &password)
{
    const Limits limits = limitsInEffect();
    unsigned char salt[saltSize];
    unsigned char nonce[nonceSize];
    unsigned char wrapped[wrappedSize];
    randombytes_buf(salt, saltSize);
    randombytes_buf(nonce, nonceSize);
    const DataKey wrapping = derive(password, salt, limits);
    if (wrapping.isEmpty() || key.isEmpty())
        return QString();
    crypto_aead_xchacha20poly1305_ietf_encrypt(wrapped, nullptr, key.data(), DataKey::size, bytesOf(columnData),
                                               columnData.size(), nullptr, nonce, wrapping.data());
    return QStringList {SealedText::prefix + method, QString::number(limits.operations), QString::number(limits.memory),
                        base64(salt, saltSize),      base64(nonce, nonceSize),           base64(wrapped, wrappedSize)}
        .join(QLatin1Char(':'));
}

DataKey unwrap(const QString &envelope, const QString &password, bool *damaged)
{
    if (damaged)
        *damaged = true;
    if (!isEnvelope(envelope))
        return DataKey();
    const QStringList fields = envelope.mid(SealedText::prefix.size()).split(QLatin1Char(':'));
    bool operationsRead = false;
    bool memoryRead = false;
    const Limits limits {fields.value(1).toULongLong(&operationsRead),
                         std::size_t(fields.value(2).toULongLong(&memoryRead))};
    QByteArray salt, nonce, wrapped;
    if (fields.size() != 6 || !operationsRead || !memoryRead || limits.operations < crypto_pwhash_OPSLIMIT_MIN
        || limits.operations > mostOperations || limits.memory < crypto_pwhash_MEMLIMIT_MIN
        || limits.memory > mostMemory || !decode(fields.at(3), saltSize, &salt)
        || !decode(fields.at(4), nonceSize, &nonce) || !decode(fields.at(5), wrappedSize, &wrapped))
        return DataKey();
    const DataKey wrapping = derive(password, bytesOf(salt), limits);
    if (wrapping.isEmpty())
        return DataKey();
    if (damaged)
        *damaged = false;
    return DataKey::make([&](unsigned char *bytes) {
        return crypto_aead_xchacha20poly1305_ietf_decrypt(bytes, nullptr, nullptr, bytesOf(wrapped), wrapped.size(),
                                                          bytesOf(columnData), columnData.size(), bytesOf(nonce),
                                                          wrapping.data())
            == 0;
    });
}

} // namespace KeyEnvelope
