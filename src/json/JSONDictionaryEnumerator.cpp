#include "json/JSONDictionaryEnumerator.h"

#include "json/JSONDictionary.h"

#include <utility>
#include <vector>

namespace json {

JSONDictionaryEnumerator::JSONDictionaryEnumerator(std::shared_ptr<const JSONDictionary> dictionary)
    : m_collection(std::move(dictionary))
{
}

std::optional<base::Value> JSONDictionaryEnumerator::nextObject()
{
    const base::Value* key;
    const base::Value* value;
    if (!m_collection->nextEntry(m_nextEntry, key, value))
        return std::nullopt;
    return *key;
}

base::ArrayRef JSONDictionaryEnumerator::allObjects()
{
    std::vector<base::Value> keys;
    while (auto key = nextObject())
        keys.push_back(std::move(*key));
    return base::Array::make(std::move(keys));
}

} // namespace json
