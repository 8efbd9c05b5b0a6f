#ifndef RELEASEDESCRIPTION_H
#define RELEASEDESCRIPTION_H

#include <QByteArray>
#include <optional>

// The published version file: its first line is the version (all that old
// copies of the program read), then one line per file of the release with
// the SHA-256 of its contents, program first:
//   213
//   sha256 <64 lower-case hex digits> Nimbrel
//   sha256 <64 lower-case hex digits> nimbrel_zh_CN.qm
// Beside it lies a detached Ed25519 signature of its exact bytes.
struct ReleaseDescription
{
    int version = 0;
    // 64 lower-case hex digits each.
    QByteArray programSha256;
    QByteArray translationSha256;

    // The program's own version, 2.12 without its point.
    static constexpr int ownVersion = 212;
    static constexpr int signatureSize = 64;

    // The description, when text is one exactly as the text() of some
    // description reads.
    static std::optional<ReleaseDescription> parse(const QByteArray &text);
    // True when signature is the Ed25519 signature of text by the holder of
    // publicKey (32 raw bytes).
    static bool signedBy(const QByteArray &text, const QByteArray &signature, const QByteArray &publicKey);
    // The description of a release this program may install: signed, well
    // formed and newer than the program.
    static std::optional<ReleaseDescription> genuineUpdate(const QByteArray &text, const QByteArray &signature,
                                                           const QByteArray &publicKey);

    static QByteArray sha256Of(const QByteArray &contents);
    QByteArray text() const;
};

#endif
