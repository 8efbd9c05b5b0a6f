#ifndef TESTPUBLISHER_H
#define TESTPUBLISHER_H

#include "releasesignature.h"

#include <QByteArray>
#include <QCryptographicHash>

// A publisher with a key of its own, made afresh for each test run, that
// writes and signs release descriptions as the published ones read; it signs
// with the code nimbrel-sign signs with.
class TestPublisher
{
public:
    const QByteArray seed = ReleaseSignature::newSeed();
    const QByteArray publicKey = ReleaseSignature::publicKeyOf(seed);

    QByteArray sign(const QByteArray &text) const { return ReleaseSignature::sign(text, seed); }

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
};

#endif
