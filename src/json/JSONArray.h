// json::JSONArray: the array the JSON decoder returns. It implements the platform's mutable array interface
// but accepts mutation only when the decoder made it mutable (a mutable entry point); an immutable one raises
// the platform's mutating-method exception. Only the decoder creates these, with the objects stored in the
// same allocation as the array; a mutable array that grows moves them to a buffer of its own. Readable from
// several threads at once; a mutable one needs exclusive use while it changes.
//
//   auto root = json::mutableObjectFromJSONString("[1,2]");
//   root->mutableArray()->addObject(base::Value(3)); // accepted: mutable result
//   json::objectFromJSONString("[1]")->mutableArray()->addObject(base::Value(2)); // raises
#pragma once

#include "base/values/Array.h"
#include "json/JSONDecoderKey.h"

#include <cstdint>
#include <new>
#include <utility>

namespace json {

class JSONArray final : public base::MutableArray {
public:
    // An empty array with room for `count` objects in `storage` (storageBytes(count) bytes made with the
    // array by makeSharedWithStorage), which the decoder fills with appendDecoded().
    JSONArray(void* const& storage, JSONDecoderKey, size_t count, bool isMutable);
    ~JSONArray() override;
    static size_t storageBytes(size_t count) { return count * sizeof(base::Value); }
    // Constructs the next object in place from `arguments`; `plain` tells whether it is plain (see
    // PlainValue.h).
    template <typename... Arguments> void appendDecoded(JSONDecoderKey, bool plain, Arguments&&... arguments)
    {
        new (&m_objects[m_count]) base::Value(std::forward<Arguments>(arguments)...);
        m_plainObjects &= plain;
        ++m_count;
    }

    size_t count() const override { return m_count; }
    const base::Value& objectAtIndex(size_t index) const override;
    std::string className() const override { return "JSONArray"; }
    uint64_t mutations() const override { return m_mutations; }
    bool isMutable() const override { return m_mutations != 0; }

    void insertObject(base::Value value, size_t index) override;
    void removeObjectAtIndex(size_t index) override;
    void replaceObjectAtIndex(size_t index, base::Value value) override;

private:
    // Moves the objects into an owned buffer of `capacity` slots.
    void reallocate(size_t capacity);
    void countMutation();

    base::Value* m_objects;
    size_t m_count { 0 };
    size_t m_capacity;
    bool m_ownsObjects { false };
    // Whether every object is plain (see PlainValue.h) and so needs no destroying; only decoded arrays
    // that were never changed count theirs.
    bool m_plainObjects { true };
    // 0 for an immutable array; a mutable one counts its changes from 1 and never returns to 0.
    uint64_t m_mutations;
};

} // namespace json
