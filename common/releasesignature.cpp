#include "releasesignature.h"

#include <sodium.h>

static_assert(ReleaseSignature::size == crypto_sign_BYTES);

namespace ReleaseSignature {

namespace {

const unsigned char *bytes(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

// The secret key of seed, wiped when it goes.
class SecretKey
{
public:
    explicit SecretKey(const QByteArray &seed) { crypto_sign_seed_keypair(publicKey, secretKey, bytes(seed)); }
    ~SecretKey() { sodium_memzero(secretKey, sizeof secretKey); }
    SecretKey(const SecretKey &) = delete;
    SecretKey &operator=(const SecretKey &) = delete;

    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
};

bool usable(const QByteArray &seed)
{
    return seed.size() == crypto_sign_SEEDBYTES && sodium_init() >= 0;
}

} // namespace

QByteArray newSeed()
{
    if (sodium_init() < 0)
        return QByteArray();
    QByteArray seed(crypto_sign_SEEDBYTES, '\0');
    randombytes_buf(seed.data(), static_cast<size_t>(seed.size()));
    return seed;
}

QByteArray publicKeyOf(const QByteArray &seed)
{
    if (!usable(seed))
        return QByteArray();
    const SecretKey key(seed);
    return QByteArray(reinterpret_cast<const char *>(key.publicKey), sizeof key.publicKey);
}

QByteArray sign(const QByteArray &text, const QByteArray &seed)
{
    if (!usable(seed))
        return QByteArray();
    const SecretKey key(seed);
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr, bytes(text),
                         static_cast<unsigned long long>(text.size()), key.secretKey);
    return signature;
}

bool verify(const QByteArray &text, const QByteArray &signature, const QByteArray &publicKey)
{
    if (signature.size() != crypto_sign_BYTES || publicKey.size() != crypto_sign_PUBLICKEYBYTES || sodium_init() < 0)
        return false;
    return crypto_sign_verify_detached(bytes(signature), bytes(text), static_cast<unsigned long long>(text.size()),
                                       bytes(publicKey))
        == 0;
}

} // namespace ReleaseSignature
