#ifndef TESTPUBLISHER_H
#define TESTPUBLISHER_H

#include <QByteArray>
#include <QCryptographicHash>
#include <sodium.h>

// A publisher with a key pair of its own, made afresh for each test run,
// that writes and signs release descriptions as the published ones read.
class TestPublisher
{
public:
    TestPublisher()
    {
        if (sodium_init() < 0)
            qFatal("libsodium cannot be initialised");
        crypto_sign_keypair(bytes(publicKey), bytes(secretKey));
    }

    QByteArray publicKey = QByteArray(crypto_sign_PUBLICKEYBYTES, '\0');

    QByteArray sign(const QByteArray &text) const
    {
        QByteArray signature(crypto_sign_BYTES, '\0');
        crypto_sign_detached(bytes(signature), nullptr, reinterpret_cast<const unsigned char *>(text.constData()),
                             static_cast<unsigned long long>(text.size()),
                             reinterpret_cast<const unsigned char *>(secretKey.constData()));
        return signature;
    }

    static QByteArray describe(int version, const QByteArray &program, const QByteArray &translation,
                               const QByteArray &updater)
    {
#ifdef Q_OS_WIN
        const QByteArray exe = ".exe";
#else
        const QByteArray exe;
#endif
        const auto line = [](const QByteArray &contents, const QByteArray &name) {
            return "sha256 " + sha256(contents) + ' ' + QByteArray::number(contents.size()) + ' ' + name + '\n';
        };
        return QByteArray::number(version) + '\n' + line(program, "Nimbrel" + exe)
            + line(translation, "nimbrel_zh_CN.qm") + line(updater, "NimbrelUp" + exe);
    }

    static QByteArray sha256(const QByteArray &contents)
    {
        return QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex();
    }

    // The same text with one byte changed.
    static QByteArray changed(QByteArray text, qsizetype at)
    {
        text[at] = static_cast<char>(text.at(at) ^ 0x01);
        return text;
    }

private:
    static unsigned char *bytes(QByteArray &array)
    {
        return reinterpret_cast<unsigned char *>(array.data());
    }
    QByteArray secretKey = QByteArray(crypto_sign_SECRETKEYBYTES, '\0');
};

#endif
