#include "base/loop/DescriptorPoller.h"

#include "base/time/Clock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace base {

namespace {

    constexpr size_t MaximumSpareWatches = 64;

} // namespace

struct DescriptorPoller::Watch {
    WatchId id;
    int fd;
    short events;
    Handler handler;
    bool removed { false };
};

DescriptorPoller::DescriptorPoller()
    : m_wakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (m_wakeFd < 0) {
        std::perror("eventfd");
        std::abort();
    }
}

DescriptorPoller::~DescriptorPoller() { ::close(m_wakeFd); }

void DescriptorPoller::wake()
{
    uint64_t one = 1;
    // A full counter (never in practice) already wakes the waiter, so a failed write loses nothing.
    [[maybe_unused]] auto written = ::write(m_wakeFd, &one, sizeof one);
}

DescriptorPoller::WatchId DescriptorPoller::watch(int fd, short events, Handler handler)
{
    std::shared_ptr<Watch> entry;
    if (m_spareWatches.empty()) {
        entry = std::make_shared<Watch>();
    } else {
        entry = std::move(m_spareWatches.back());
        m_spareWatches.pop_back();
    }
    *entry = Watch { m_nextId++, fd, events, std::move(handler) };
    m_watches.push_back(entry);
    return entry->id;
}

void DescriptorPoller::changeEvents(WatchId id, short events)
{
    for (auto& entry : m_watches) {
        if (entry->id == id)
            entry->events = events;
    }
}

void DescriptorPoller::unwatch(WatchId id)
{
    auto found = std::find_if(
        m_watches.begin(), m_watches.end(), [id](const std::shared_ptr<Watch>& entry) { return entry->id == id; });
    if (found == m_watches.end())
        return;
    std::shared_ptr<Watch> entry = std::move(*found);
    m_watches.erase(found);
    entry->removed = true;
    // A dispatch in progress may still hold it (and skips it, as removed): it is then kept after that.
    keepForReuse(std::move(entry));
}

void DescriptorPoller::keepForReuse(std::shared_ptr<Watch> entry)
{
    if (!entry->removed || entry.use_count() != 1 || m_spareWatches.size() >= MaximumSpareWatches)
        return;
    entry->handler = nullptr;
    m_spareWatches.push_back(std::move(entry));
}

void DescriptorPoller::wait(const std::optional<std::chrono::steady_clock::time_point>& deadline)
{
    timespec timeout {};
    const timespec* limit = nullptr;
    if (deadline) {
        timeout = toTimespec(*deadline - std::chrono::steady_clock::now());
        limit = &timeout;
    }
    poll(limit, true);
}

void DescriptorPoller::pollNow()
{
    if (m_watches.empty())
        return;
    timespec zero {};
    poll(&zero, false);
}

void DescriptorPoller::poll(const timespec* timeout, bool withWakeDescriptor)
{
    m_pollSet.clear();
    if (withWakeDescriptor)
        m_pollSet.push_back({ m_wakeFd, POLLIN, 0 });
    m_polled.clear();
    for (size_t index = 0; index < m_watches.size(); ++index) {
        const Watch& entry = *m_watches[index];
        if (!entry.events)
            continue;
        m_pollSet.push_back({ entry.fd, entry.events, 0 });
        m_polled.push_back(index);
    }
    int ready = ::ppoll(m_pollSet.data(), m_pollSet.size(), timeout, nullptr);
    if (ready < 0) {
        if (errno == EINTR)
            return;
        std::perror("ppoll");
        std::abort();
    }
    size_t first = 0;
    if (withWakeDescriptor) {
        first = 1;
        if (m_pollSet[0].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] auto read = ::read(m_wakeFd, &count, sizeof count);
        }
    }
    m_ready.clear();
    for (size_t index = first; index < m_pollSet.size(); ++index) {
        if (m_pollSet[index].revents)
            m_ready.emplace_back(m_watches[m_polled[index - first]], m_pollSet[index].revents);
    }
}

void DescriptorPoller::dispatchReady()
{
    // A local list, as a handler may run a nested turn; the storage goes round between it and the members.
    std::vector<std::pair<std::shared_ptr<Watch>, short>> ready;
    ready.swap(m_ready);
    m_ready.swap(m_spareReady);
    for (auto& [entry, revents] : ready) {
        if (!entry->removed && revents)
            entry->handler(revents);
    }
    // A transfer that ends in its socket's handler removes that watch while the list above still holds it.
    for (auto& [entry, revents] : ready)
        keepForReuse(std::move(entry));
    ready.clear();
    if (ready.capacity() > m_spareReady.capacity())
        m_spareReady.swap(ready);
}

} // namespace base
