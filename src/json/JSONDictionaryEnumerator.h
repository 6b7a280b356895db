// json::JSONDictionaryEnumerator: walks the keys of a JSONDictionary in table order, keeping the dictionary
// alive while it exists. Used on one thread at a time.
//
//   auto keys = dictionary->keyEnumerator();
//   while (auto key = keys->nextObject()) use(*key);
#pragma once

#include "base/values/Array.h"
#include "base/values/Value.h"

#include <memory>
#include <optional>

namespace json {

class JSONDictionary;

class JSONDictionaryEnumerator {
public:
    explicit JSONDictionaryEnumerator(std::shared_ptr<const JSONDictionary> dictionary);

    // The next key, or nothing when the table is exhausted.
    std::optional<base::Value> nextObject();
    // The keys nextObject has not yet returned, in table order.
    base::ArrayRef allObjects();

private:
    std::shared_ptr<const JSONDictionary> m_collection;
    size_t m_nextEntry { 0 };
};

} // namespace json
