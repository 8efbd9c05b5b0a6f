#ifndef RELEASEDESCRIPTION_H
#define RELEASEDESCRIPTION_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The published version file: its first line is the version (all that old
// copies of the program read), then one line per file of the release with
// the SHA-256 and the size of its contents, in the order they are installed:
//   213
//   sha256 <64 lower-case hex digits> <size> Nimbrel
//   sha256 <64 lower-case hex digits> <size> nimbrel_zh_CN.qm
//   sha256 <64 lower-case hex digits> <size> NimbrelUp
// Beside it lies a detached Ed25519 signature of its exact bytes.
struct ReleaseDescription
{
    struct File
    {
        QString name;
        // 64 lower-case hex digits.
        QByteArray sha256;
        qint64 size = 0;
    };

    int version = 0;
    // One per name of fileNames(), in that order.
    QList<File> files;

    // Every download is bounded before it starts: the description by this,
    // its signature by ReleaseSignature::size, each file of the release by its
    // stated size, which cannot exceed the next.
    static constexpr qint64 longestText = 4096;
    static constexpr qint64 largestFile = qint64(1) << 30;

    // The files of a release: the vault program, its translation, the updater.
    static QStringList fileNames();

    // The description, when text is one exactly as the text() of some
    // description reads.
    static std::optional<ReleaseDescription> parse(const QByteArray &text);
    // The description of a release that may replace the installed version:
    // signed by the holder of publicKey, well formed and newer.
    static std::optional<ReleaseDescription> genuineUpdate(const QByteArray &text, const QByteArray &signature,
                                                           const QByteArray &publicKey, int installedVersion);

    static QByteArray sha256Of(const QByteArray &contents);
    QByteArray text() const;
};

#endif
