#include "json/JSONArray.h"

#include <utility>

namespace json {

namespace {
    // A mutable array grows its storage by this many slots at a time.
    constexpr size_t GrowthSlots = 16;
}

JSONArray::JSONArray(JSONDecoderKey, std::vector<base::Value> objects, bool isMutable)
    : m_objects(std::move(objects))
    , m_mutations(isMutable ? 1 : 0)
{
}

const base::Value& JSONArray::objectAtIndex(size_t index) const
{
    if (index >= m_objects.size())
        raiseBeyondBounds("objectAtIndex:", index, m_objects.size());
    return m_objects[index];
}

void JSONArray::insertObject(base::Value value, size_t index)
{
    static constexpr const char* selector = "insertObject:atIndex:";
    if (!isMutable())
        raiseImmutable(selector);
    if (index > m_objects.size())
        raiseBeyondBounds(selector, index, m_objects.size() + 1);
    if (m_objects.size() + 1 >= m_objects.capacity())
        m_objects.reserve(m_objects.capacity() + GrowthSlots);
    m_objects.insert(m_objects.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
    countMutation();
}

void JSONArray::removeObjectAtIndex(size_t index)
{
    static constexpr const char* selector = "removeObjectAtIndex:";
    if (!isMutable())
        raiseImmutable(selector);
    if (index >= m_objects.size())
        raiseBeyondBounds(selector, index, m_objects.size());
    m_objects.erase(m_objects.begin() + static_cast<std::ptrdiff_t>(index));
    countMutation();
}

void JSONArray::replaceObjectAtIndex(size_t index, base::Value value)
{
    static constexpr const char* selector = "replaceObjectAtIndex:withObject:";
    if (!isMutable())
        raiseImmutable(selector);
    if (index >= m_objects.size())
        raiseBeyondBounds(selector, index, m_objects.size());
    m_objects[index] = std::move(value);
    countMutation();
}

void JSONArray::countMutation()
{
    if (++m_mutations == 0)
        m_mutations = 1;
}

} // namespace json
