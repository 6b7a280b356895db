// json::JSONDictionary: the dictionary the JSON decoder returns, an open-addressing hash table with linear
// probing. It implements the platform's mutable dictionary interface but accepts mutation only when the
// decoder made it mutable; an immutable one raises the platform's mutating-method exception. Enumeration
// follows table order (slot 0 upward), which depends on the keys' hashes and the table's history, not on
// document order; an immutable one of at most LinearPairs pairs is a linear table (see JSONHashTable.h), which
// enumerates in document order. Only the decoder creates these. Readable from several threads at once; a
// mutable one needs exclusive use while it changes.
//
//   auto reply = json::objectFromJSONString(R"({"d":"ok"})");
//   const base::Value* d = reply->dictionary()->objectForKey("d");
//   for (auto [key, value] : *reply->dictionary()) use(*key, *value);
#pragma once

#include "base/values/Dictionary.h"
#include "json/JSONDecoderKey.h"
#include "json/JSONHashTable.h"

#include <cstdint>
#include <memory>

namespace json {

class JSONDictionaryEnumerator;

class JSONDictionary final : public base::MutableDictionary {
public:
    // An empty dictionary whose table, in `storage` (tableBytes(count, isMutable) bytes made with the
    // dictionary by makeSharedWithStorage), is sized for `count` pairs, which the decoder then adds through
    // decodingTable(). An immutable one shares its document's keys; a mutable one owns its keys and has room
    // for as many pairs as its table has slots, so it can take more.
    JSONDictionary(void* const& storage, JSONDecoderKey, size_t count, bool isMutable);
    static size_t tableBytes(size_t count, bool isMutable)
    {
        size_t capacity = isLinear(count, isMutable) ? count : capacityForCount(count);
        return JSONHashTable::storageBytes(capacity, pairCapacity(count, isMutable), isMutable);
    }
    // The most pairs of a linear table: a lookup compares up to this many hashes, about the cost of hashing
    // into a larger table.
    static constexpr size_t LinearPairs = 16;
    JSONHashTable& decodingTable(JSONDecoderKey) { return m_table; }

    size_t count() const override { return m_table.count(); }
    const base::Value* objectForKey(const base::Value& key) const override;
    using base::Dictionary::objectForKey;
    const base::Value* objectForStringKey(std::string_view key) const override;
    bool nextEntry(size_t& cursor, const base::Value*& key, const base::Value*& value) const override;
    std::string className() const override { return "JSONDictionary"; }
    uint64_t mutations() const override { return m_mutations; }
    bool isMutable() const override { return m_mutations != 0; }

    void setObject(base::Value value, base::Value key) override;
    void removeObjectForKey(const base::Value& key) override;
    using base::MutableDictionary::removeObjectForKey;
    using base::MutableDictionary::setObject;

    // The number of entries of the table.
    size_t capacity() const { return m_table.capacity(); }
    std::shared_ptr<JSONDictionaryEnumerator> keyEnumerator() const;

    // The table size for a number of pairs: about 1.33 entries per pair, taken up to the next listed size.
    static size_t capacityForCount(size_t count);

private:
    void countMutation();
    static size_t pairCapacity(size_t count, bool isMutable) { return isMutable ? capacityForCount(count) : count; }
    static bool isLinear(size_t count, bool isMutable) { return !isMutable && count <= LinearPairs; }
    static JSONHashTable makeTable(void* storage, size_t count, bool isMutable);

    JSONHashTable m_table;
    // 0 for an immutable dictionary; a mutable one counts its changes from 1 and never returns to 0.
    uint64_t m_mutations { 0 };
};

} // namespace json
