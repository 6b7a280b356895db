#include "json/JSONArray.h"

#include "json/FetchAhead.h"

namespace json {

namespace {
    // A mutable array grows its storage by this many slots at a time.
    constexpr size_t GrowthSlots = 16;
}

JSONArray::JSONArray(void* const& storage, JSONDecoderKey, size_t count, bool isMutable)
    : m_objects(static_cast<base::Value*>(storage))
    , m_capacity(count)
    , m_mutations(isMutable ? 1 : 0)
{
}

JSONArray::~JSONArray()
{
    for (size_t i = 0; i < m_count && !m_plainObjects; ++i) {
        if (i + ContainersAhead < m_count)
            fetchContainer(m_objects[i + ContainersAhead]);
        m_objects[i].~Value();
    }
    if (m_ownsObjects)
        ::operator delete(m_objects);
}

const base::Value& JSONArray::objectAtIndex(size_t index) const
{
    if (index >= m_count)
        raiseBeyondBounds("objectAtIndex:", index, m_count);
    return m_objects[index];
}

void JSONArray::reallocate(size_t capacity)
{
    auto* objects = static_cast<base::Value*>(::operator new(capacity * sizeof(base::Value)));
    for (size_t i = 0; i < m_count; ++i) {
        new (&objects[i]) base::Value(std::move(m_objects[i]));
        m_objects[i].~Value();
    }
    if (m_ownsObjects)
        ::operator delete(m_objects);
    m_objects = objects;
    m_capacity = capacity;
    m_ownsObjects = true;
}

void JSONArray::insertObject(base::Value value, size_t index)
{
    static constexpr const char* selector = "insertObject:atIndex:";
    if (!isMutable())
        raiseImmutable(selector);
    if (index > m_count)
        raiseBeyondBounds(selector, index, m_count + 1);
    if (m_count + 1 >= m_capacity)
        reallocate(m_capacity + GrowthSlots);
    new (&m_objects[m_count]) base::Value();
    ++m_count;
    m_plainObjects = false;
    for (size_t i = m_count - 1; i > index; --i)
        m_objects[i] = std::move(m_objects[i - 1]);
    m_objects[index] = std::move(value);
    countMutation();
}

void JSONArray::removeObjectAtIndex(size_t index)
{
    static constexpr const char* selector = "removeObjectAtIndex:";
    if (!isMutable())
        raiseImmutable(selector);
    if (index >= m_count)
        raiseBeyondBounds(selector, index, m_count);
    // A moved borrowed text takes a reference (see StringReference.h), which dropping must give back.
    m_plainObjects = false;
    for (size_t i = index; i + 1 < m_count; ++i)
        m_objects[i] = std::move(m_objects[i + 1]);
    m_objects[--m_count].~Value();
    countMutation();
}

void JSONArray::replaceObjectAtIndex(size_t index, base::Value value)
{
    static constexpr const char* selector = "replaceObjectAtIndex:withObject:";
    if (!isMutable())
        raiseImmutable(selector);
    if (index >= m_count)
        raiseBeyondBounds(selector, index, m_count);
    m_objects[index] = std::move(value);
    m_plainObjects = false;
    countMutation();
}

void JSONArray::countMutation()
{
    if (++m_mutations == 0)
        m_mutations = 1;
}

} // namespace json
