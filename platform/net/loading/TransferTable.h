// net::TransferTable: the transfers a multi handle drives, by their easy handle. Each entry's slot is kept in
// its easy handle (libcurl's private pointer), so finding, adding and removing a transfer costs no hashing
// and no allocation once the table has grown to the number of transfers run at once.
//
// Not synchronized: the loop's transfers use it on the thread that drives the multi handle. The table owns
// the easy handles' private pointers while they are in it.
//
//   table.add(easy, transfer);
//   if (NetworkTransfer* done = table.find(message->easy_handle)) ...
#pragma once

#include "net/loading/NetworkTransfer.h"

#include <curl/curl.h>

#include <cstddef>
#include <utility>
#include <vector>

namespace net {

class TransferTable {
public:
    using Entry = std::pair<CURL*, NetworkTransfer*>;

    // Adds or replaces the transfer of `easy`.
    void add(CURL* easy, NetworkTransfer* transfer);
    // Null when `easy` is not in the table.
    NetworkTransfer* find(CURL* easy) const;
    // Whether `easy` was in the table.
    bool remove(CURL* easy);
    // In no particular order; a copy, so that the caller may remove entries while it walks them.
    std::vector<Entry> entries() const { return m_entries; }
    size_t size() const { return m_entries.size(); }

private:
    // The slot of `easy`, or the table's size when it is not in it.
    size_t slotOf(CURL* easy) const;

    std::vector<Entry> m_entries;
};

} // namespace net
