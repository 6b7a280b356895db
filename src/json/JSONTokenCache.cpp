#include "json/JSONTokenCache.h"

#include <cstring>
#include <limits>
#include <string>

namespace json {

JSONTokenCache::JSONTokenCache()
    : m_items(new Item[BucketCount])
{
}

JSONTokenCache::Item* JSONTokenCache::find(
    TokenValueType type, const void* key, size_t size, uint64_t hash, Item*& target)
{
    target = nullptr;
    size_t step = size + static_cast<size_t>(type) + 3;
    for (size_t probe = 0; probe < ProbeCount; ++probe) {
        Item& item = m_items[(hash + step * probe) & (BucketCount - 1)];
        if (item.type == TokenValueType::None) {
            target = &item;
            return nullptr;
        }
        if (item.hash == hash && item.size == size && item.type == type && std::memcmp(&item.key, key, size) == 0)
            return &item;
        if (!target)
            target = &item;
    }
    return nullptr;
}

const base::Value& JSONTokenCache::store(
    Item& target, TokenValueType type, const void* key, size_t size, uint64_t hash, base::Value object)
{
    target.hash = hash;
    target.key.bits = 0;
    std::memcpy(&target.key, key, size);
    target.size = static_cast<uint8_t>(size);
    target.type = type;
    target.object = std::move(object);
    return target.object;
}

const base::Value& JSONTokenCache::string(const char* bytes, size_t length, uint64_t hash)
{
    Item* target;
    if (Item* hit = find(TokenValueType::String, bytes, length, hash, target))
        return hit->object;
    return store(*target, TokenValueType::String, bytes, length, hash, base::Value(std::string(bytes, length)));
}

const base::Value& JSONTokenCache::number(TokenValueType type, uint64_t bits, uint64_t hash)
{
    Item* target;
    if (Item* hit = find(type, &bits, sizeof bits, hash, target))
        return hit->object;
    base::Value value;
    if (type == TokenValueType::Double) {
        double real;
        std::memcpy(&real, &bits, sizeof real);
        value = base::Value(real);
    } else if (type == TokenValueType::UnsignedInteger && bits > uint64_t(std::numeric_limits<int64_t>::max())) {
        value = base::Value(bits);
    } else {
        value = base::Value(static_cast<int64_t>(bits));
    }
    return store(*target, type, &bits, sizeof bits, hash, std::move(value));
}

void JSONTokenCache::clear()
{
    for (size_t i = 0; i < BucketCount; ++i)
        m_items[i] = Item();
}

} // namespace json
