#include "base/Log.h"

#include <cstdio>

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

} // namespace

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

Log::ScopedCapture::~ScopedCapture()
{
    setSink(std::move(m_previous));
}

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
