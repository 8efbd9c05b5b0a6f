#ifndef DATAKEY_H
#define DATAKEY_H

#include <functional>

// A 32-byte secret in libsodium's guarded memory: locked into RAM (never
// swapped out), fenced by guard pages, readable only through data(), and
// wiped when the object goes. Moves, never copies.
class DataKey
{
public:
    static constexpr int size = 32;

    // An empty key: holds nothing.
    DataKey() = default;
    ~DataKey();
    DataKey(DataKey &&other) noexcept;
    DataKey &operator=(DataKey &&other) noexcept;
    DataKey(const DataKey &) = delete;
    DataKey &operator=(const DataKey &) = delete;

    // A fresh random key; empty when the guarded memory cannot be had.
    static DataKey random();
    // A key whose bytes `write` puts straight into the guarded memory (so no
    // copy of them is left elsewhere); empty when it returns false.
    static DataKey make(const std::function<bool(unsigned char *bytes)> &write);

    bool isEmpty() const { return bytes == nullptr; }
    const unsigned char *data() const { return bytes; }
    bool operator==(const DataKey &other) const;

private:
    unsigned char *bytes = nullptr;
};

#endif
