#include "store/datakey.h"

#include <sodium.h>

#include <utility>

DataKey::~DataKey()
{
    // sodium_free wipes the bytes before it gives the pages back.
    sodium_free(bytes);
}

DataKey::DataKey(DataKey &&other) noexcept
    : bytes(std::exchange(other.bytes, nullptr))
{ }

DataKey &DataKey::operator=(DataKey &&other) noexcept
{
    if (this != &other) {
        sodium_free(bytes);
        bytes = std::exchange(other.bytes, nullptr);
    }
    return *this;
}

DataKey DataKey::make(const std::function<bool(unsigned char *)> &write)
{
    DataKey key;
    if (sodium_init() < 0)
        return key;
    key.bytes = static_cast<unsigned char *>(sodium_malloc(size));
    if (key.isEmpty())
        return key;
    if (!write(key.bytes)) {
        sodium_free(std::exchange(key.bytes, nullptr));
        return key;
    }
    sodium_mprotect_readonly(key.bytes);
    return key;
}

DataKey DataKey::random()
{
    return make([](unsigned char *bytes) {
        randombytes_buf(bytes, size);
        return true;
    });
}

bool DataKey::operator==(const DataKey &other) const
{
    if (isEmpty() || other.isEmpty())
        return isEmpty() && other.isEmpty();
    return sodium_memcmp(bytes, other.bytes, size) == 0;
}
