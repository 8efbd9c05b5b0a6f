#ifndef SEALEDTEXT_H
#define SEALEDTEXT_H

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

class DataKey;

// A text as an encrypted store keeps it: the prefix, then in base64 a fresh
// 24-byte nonce followed by the XChaCha20-Poly1305 ciphertext of its UTF-8
// bytes. The associated data names the table and column ("card.name"), so a
// text moved into another column no longer opens.
namespace SealedText {

// Marks every sealed text and, followed by more fields, the key envelope.
inline const QString prefix = QStringLiteral("nimbrel-sealed:1:");

constexpr int nonceSize = 24;

bool isSealed(const QString &stored);
bool isSealedUtf8(QByteArrayView stored);

// The associated data of a column: "table.column".
QByteArray columnData(const QString &table, const QString &column);

QString seal(const DataKey &key, const QString &text, QByteArrayView columnData);

// The text, or nothing when it does not open with this key and column
// (another key, another column, or changed bytes).
std::optional<QString> open(const DataKey &key, const QString &stored, QByteArrayView columnData);

// The same on UTF-8 bytes, for a bulk copy that reads and writes the store's
// bytes as they are; `nonce` holds nonceSize fresh random bytes, so that the
// nonces of many texts can be drawn at once.
QByteArray sealUtf8(const DataKey &key, QByteArrayView text, QByteArrayView columnData, const unsigned char *nonce);
std::optional<QByteArray> openUtf8(const DataKey &key, QByteArrayView stored, QByteArrayView columnData);

} // namespace SealedText

#endif
