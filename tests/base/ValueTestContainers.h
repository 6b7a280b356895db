// Containers of another implementation than base's plain ones, for the tests that check that equality,
// hashing, iteration and the default mutators work through the interfaces alone. They imitate what a decoder
// supplies: mutable-kind classes that refuse every change.
#pragma once

#include "base/values/Array.h"
#include "base/values/Dictionary.h"

#include <memory>
#include <vector>

namespace test {

class FrozenArray final : public base::MutableArray {
public:
    explicit FrozenArray(std::vector<base::Value> objects)
        : m_objects(std::move(objects))
    {
    }
    static std::shared_ptr<FrozenArray> make(std::vector<base::Value> objects)
    {
        return std::make_shared<FrozenArray>(std::move(objects));
    }

    size_t count() const override { return m_objects.size(); }
    const base::Value& objectAtIndex(size_t index) const override
    {
        if (index >= m_objects.size())
            raiseBeyondBounds("objectAtIndex:", index, m_objects.size());
        return m_objects[index];
    }
    std::string className() const override { return "FrozenArray"; }

private:
    std::vector<base::Value> m_objects;
};

// Enumerates its pairs in reverse order of creation, so that equality cannot lean on a shared order.
class FrozenDictionary final : public base::MutableDictionary {
public:
    explicit FrozenDictionary(Pairs pairs)
        : m_pairs(pairs.rbegin(), pairs.rend())
    {
    }
    static std::shared_ptr<FrozenDictionary> make(Pairs pairs)
    {
        return std::make_shared<FrozenDictionary>(std::move(pairs));
    }

    size_t count() const override { return m_pairs.size(); }
    const base::Value* objectForKey(const base::Value& key) const override
    {
        for (auto& [k, v] : m_pairs)
            if (k == key)
                return &v;
        return nullptr;
    }
    bool nextEntry(size_t& cursor, const base::Value*& key, const base::Value*& value) const override
    {
        if (cursor >= m_pairs.size())
            return false;
        key = &m_pairs[cursor].first;
        value = &m_pairs[cursor].second;
        ++cursor;
        return true;
    }
    std::string className() const override { return "FrozenDictionary"; }

private:
    Pairs m_pairs;
};

} // namespace test
