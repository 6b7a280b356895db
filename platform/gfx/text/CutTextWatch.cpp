#include "gfx/text/CutTextWatch.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace gfx {

namespace {

    std::mutex& watchMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    CutTextWatch::Listener& installedListener()
    {
        static CutTextWatch::Listener listener;
        return listener;
    }

    std::atomic<bool> watching { false };

} // namespace

CutTextWatch::CutTextWatch(Listener listener)
{
    std::lock_guard lock(watchMutex());
    m_previous = std::exchange(installedListener(), std::move(listener));
    watching = static_cast<bool>(installedListener());
}

CutTextWatch::~CutTextWatch()
{
    std::lock_guard lock(watchMutex());
    installedListener() = std::move(m_previous);
    watching = static_cast<bool>(installedListener());
}

bool CutTextWatch::active() { return watching.load(std::memory_order_relaxed); }

void CutTextWatch::report(const std::string& text)
{
    if (!active())
        return;
    Listener listener;
    {
        std::lock_guard lock(watchMutex());
        listener = installedListener();
    }
    if (listener)
        listener(text);
}

} // namespace gfx
