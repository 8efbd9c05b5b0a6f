#ifndef KEYENVELOPE_H
#define KEYENVELOPE_H

#include <QString>

#include <cstddef>

class DataKey;

// The data key of an encrypted store, wrapped under a key that Argon2id
// derives from the password, as one text in the settings row's password
// column:
//   nimbrel-sealed:1:argon2id:<operations>:<memory bytes>:<salt>:<nonce>:<wrapped key>
// (salt, nonce and wrapped key in base64). Changing the password wraps the
// same data key again; no text of the store changes.
namespace KeyEnvelope {

struct Limits
{
    unsigned long long operations = 0;
    std::size_t memory = 0;
};

// libsodium's "moderate" limits, unless a test set smaller ones.
Limits limits();
void setLimits(Limits limits);
Limits smallestLimits();

bool isEnvelope(const QString &text);

// The envelope of `key` under `password`, with a fresh salt and nonce and
// the limits in effect; empty when Argon2id could not run (out of memory).
QString wrap(const DataKey &key, const QString &password);

// The data key, or an empty key when the password is not the one it was
// wrapped under. `damaged` tells an envelope that cannot be read at all
// (changed bytes, or limits no program here would use).
DataKey unwrap(const QString &envelope, const QString &password, bool *damaged = nullptr);

} // namespace KeyEnvelope

#endif
