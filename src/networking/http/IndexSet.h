// networking::IndexSet: a set of non-negative integers, such as the status codes an operation accepts, with
// its text as ranges ("200-299,304"). A value type.
//
//   auto codes = networking::IndexSet::range(200, 100).unionWith(networking::IndexSet { 304 });
//   codes.contains(204);     // true
//   codes.rangeListString(); // "200-299,304"
#pragma once

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>

namespace networking {

class IndexSet {
public:
    IndexSet() = default;
    IndexSet(std::initializer_list<uint64_t> indexes)
        : m_indexes(indexes)
    {
    }
    static IndexSet range(uint64_t first, uint64_t length);

    bool contains(uint64_t index) const { return m_indexes.contains(index); }
    bool empty() const { return m_indexes.empty(); }
    IndexSet unionWith(const IndexSet& other) const;
    // Runs of consecutive indexes, ascending: "n" for a run of one, "first-last" otherwise, joined by ",".
    std::string rangeListString() const;

    bool operator==(const IndexSet&) const = default;

private:
    std::set<uint64_t> m_indexes;
};

} // namespace networking
