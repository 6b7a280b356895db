// json::JSONArray: the array the JSON decoder returns. It implements the platform's mutable array interface
// but accepts mutation only when the decoder made it mutable (a mutable entry point); an immutable one raises
// the platform's mutating-method exception. Only the decoder creates these. Readable from several threads at
// once; a mutable one needs exclusive use while it changes.
//
//   auto root = json::mutableObjectFromJSONString("[1,2]");
//   root->mutableArray()->addObject(base::Value(3)); // accepted: mutable result
//   json::objectFromJSONString("[1]")->mutableArray()->addObject(base::Value(2)); // raises
#pragma once

#include "base/Array.h"
#include "json/JSONDecoderKey.h"

#include <cstdint>
#include <vector>

namespace json {

class JSONArray final : public base::MutableArray {
public:
    JSONArray(JSONDecoderKey, std::vector<base::Value> objects, bool isMutable);

    size_t count() const override { return m_objects.size(); }
    const base::Value& objectAtIndex(size_t index) const override;
    std::string className() const override { return "JSONArray"; }
    uint64_t mutations() const override { return m_mutations; }
    bool isMutable() const override { return m_mutations != 0; }

    void insertObject(base::Value value, size_t index) override;
    void removeObjectAtIndex(size_t index) override;
    void replaceObjectAtIndex(size_t index, base::Value value) override;

private:
    void countMutation();

    std::vector<base::Value> m_objects;
    // 0 for an immutable array; a mutable one counts its changes from 1 and never returns to 0.
    uint64_t m_mutations;
};

} // namespace json
