#ifndef RELEASESIGNATURE_H
#define RELEASESIGNATURE_H

#include <QByteArray>

// The publisher's Ed25519 signature over a release description. The secret
// is a 32-byte seed from which the key pair is made again at each use; the
// public key is built into the programs, which accept only what it verifies.
namespace ReleaseSignature {

// The length of a signature: the most a signature download may bring.
constexpr qint64 size = 64;

// A new random seed; empty when libsodium cannot be initialised.
QByteArray newSeed();
// The raw 32-byte public key that belongs to seed; empty for a seed of
// another length.
QByteArray publicKeyOf(const QByteArray &seed);
// The detached signature of text by the holder of seed; empty for a seed of
// another length.
QByteArray sign(const QByteArray &text, const QByteArray &seed);
// True when signature is the signature of text by the holder of publicKey.
bool verify(const QByteArray &text, const QByteArray &signature, const QByteArray &publicKey);

} // namespace ReleaseSignature

#endif
