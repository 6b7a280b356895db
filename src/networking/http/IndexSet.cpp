#include "networking/http/IndexSet.h"

namespace networking {

IndexSet IndexSet::range(uint64_t first, uint64_t length)
{
    IndexSet set;
    for (uint64_t i = 0; i < length; ++i)
        set.m_indexes.insert(first + i);
    return set;
}

IndexSet IndexSet::unionWith(const IndexSet& other) const
{
    IndexSet joined = *this;
    joined.m_indexes.insert(other.m_indexes.begin(), other.m_indexes.end());
    return joined;
}

std::string IndexSet::rangeListString() const
{
    std::string text;
    auto it = m_indexes.begin();
    while (it != m_indexes.end()) {
        uint64_t first = *it;
        uint64_t last = first;
        for (++it; it != m_indexes.end() && *it == last + 1; ++it)
            last = *it;
        if (!text.empty())
            text += ',';
        text += std::to_string(first);
        if (last != first)
            text += '-' + std::to_string(last);
    }
    return text;
}

} // namespace networking
