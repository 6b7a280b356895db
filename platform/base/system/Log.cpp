#include "base/system/Log.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace base {

namespace {

    std::mutex& sinkMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    Log::Sink& currentSink()
    {
        static Log::Sink sink;
        return sink;
    }

    // Categories whose messages carry personal data (the values bound to SQL statements): "all" leaves them
    // out, so that a verbose run does not write every stored message's fields; naming one turns it on.
    constexpr std::string_view NamedOnly[] = { "sql-args" };

    // Which detail categories are on. `anyOn` lets base::trace return without the lock while everything is off,
    // which is the common case (the database traces every statement through it).
    struct Categories {
        std::mutex mutex;
        bool all { false };
        std::set<std::string, std::less<>> on;
        std::atomic<bool> anyOn { false };

        Categories()
        {
            if (const char* list = std::getenv("LUMET_LOG"))
                enableLocked(list);
        }

        void enableLocked(std::string_view list)
        {
            while (!list.empty()) {
                size_t comma = list.find(',');
                std::string_view name = list.substr(0, comma);
                list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
                while (!name.empty() && name.front() == ' ')
                    name.remove_prefix(1);
                while (!name.empty() && name.back() == ' ')
                    name.remove_suffix(1);
                if (name == "all")
                    all = true;
                else if (!name.empty())
                    on.emplace(name);
            }
            anyOn = all || !on.empty();
        }
    };

    Categories& categories()
    {
        static Categories shared;
        return shared;
    }

} // namespace

void trace(std::string_view category, std::string_view message)
{
    if (Log::isEnabled(category))
        log(message);
}

bool Log::isEnabled(std::string_view category)
{
    auto& state = categories();
    if (!state.anyOn)
        return false;
    std::lock_guard lock(state.mutex);
    if (state.on.find(category) != state.on.end())
        return true;
    return state.all && std::ranges::find(NamedOnly, category) == std::end(NamedOnly);
}

void Log::setEnabled(std::string_view category, bool enabled)
{
    auto& state = categories();
    std::lock_guard lock(state.mutex);
    if (enabled)
        state.on.emplace(category);
    else if (auto found = state.on.find(category); found != state.on.end())
        state.on.erase(found);
    state.anyOn = state.all || !state.on.empty();
}

void Log::enable(std::string_view list)
{
    auto& state = categories();
    std::lock_guard lock(state.mutex);
    state.enableLocked(list);
}

void Log::disableAll()
{
    auto& state = categories();
    std::lock_guard lock(state.mutex);
    state.all = false;
    state.on.clear();
    state.anyOn = false;
}

Log::ScopedCategories::ScopedCategories(std::string_view list)
{
    auto& state = categories();
    std::lock_guard lock(state.mutex);
    m_previousAll = state.all;
    m_previousOn.assign(state.on.begin(), state.on.end());
    state.enableLocked(list);
}

Log::ScopedCategories::~ScopedCategories()
{
    auto& state = categories();
    std::lock_guard lock(state.mutex);
    state.all = m_previousAll;
    state.on = std::set<std::string, std::less<>>(m_previousOn.begin(), m_previousOn.end());
    state.anyOn = state.all || !state.on.empty();
}

void log(std::string_view message)
{
    Log::Sink sink;
    {
        std::lock_guard lock(sinkMutex());
        sink = currentSink();
    }
    if (sink) {
        sink(message);
        return;
    }
    std::string line(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

Log::Sink Log::setSink(Sink sink)
{
    std::lock_guard lock(sinkMutex());
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

Log::ScopedCapture::ScopedCapture()
{
    m_previous = setSink([this](std::string_view message) {
        std::lock_guard lock(m_mutex);
        m_messages.emplace_back(message);
    });
}

Log::ScopedCapture::~ScopedCapture() { setSink(std::move(m_previous)); }

std::vector<std::string> Log::ScopedCapture::messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

bool Log::ScopedCapture::contains(std::string_view fragment) const
{
    std::lock_guard lock(m_mutex);
    for (auto& message : m_messages)
        if (message.find(fragment) != std::string::npos)
            return true;
    return false;
}

} // namespace base
