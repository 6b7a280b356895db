#include "net/loading/TransferTable.h"

#include <cstdint>

namespace net {

namespace {

    void setSlot(CURL* easy, size_t slot)
    {
        curl_easy_setopt(easy, CURLOPT_PRIVATE, reinterpret_cast<void*>(static_cast<uintptr_t>(slot)));
    }

} // namespace

size_t TransferTable::slotOf(CURL* easy) const
{
    void* stored = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_PRIVATE, &stored) != CURLE_OK)
        return m_entries.size();
    // A handle that left the table keeps a stale slot: it counts only if the slot still names it.
    auto slot = static_cast<size_t>(reinterpret_cast<uintptr_t>(stored));
    if (slot < m_entries.size() && m_entries[slot].first == easy)
        return slot;
    return m_entries.size();
}

void TransferTable::add(CURL* easy, NetworkTransfer* transfer)
{
    if (size_t slot = slotOf(easy); slot < m_entries.size()) {
        m_entries[slot].second = transfer;
        return;
    }
    setSlot(easy, m_entries.size());
    m_entries.emplace_back(easy, transfer);
}

NetworkTransfer* TransferTable::find(CURL* easy) const
{
    size_t slot = slotOf(easy);
    return slot < m_entries.size() ? m_entries[slot].second : nullptr;
}

bool TransferTable::remove(CURL* easy)
{
    size_t slot = slotOf(easy);
    if (slot == m_entries.size())
        return false;
    // The last entry fills the hole.
    if (slot + 1 < m_entries.size()) {
        m_entries[slot] = m_entries.back();
        setSlot(m_entries[slot].first, slot);
    }
    m_entries.pop_back();
    return true;
}

} // namespace net
