#include "media/backends/ScriptedAudioInput.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace media {

ScriptedAudioInput::ScriptedAudioInput(std::shared_ptr<const std::vector<int16_t>> script)
    : m_script(std::move(script))
{
    BASE_ASSERT_MAIN_THREAD();
}

bool ScriptedAudioInput::start(const AudioFormat& format, base::Error*)
{
    BASE_ASSERT_MAIN_THREAD();
    m_format = format;
    m_clock.emplace(format.sampleRate, base::Clock::current()->now());
    m_delivered = 0;
    return true;
}

void ScriptedAudioInput::stop() { m_clock.reset(); }

void ScriptedAudioInput::read(std::vector<int16_t>& out)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_clock || !m_script)
        return;
    auto due = static_cast<size_t>(m_clock->framesAt(base::Clock::current()->now()));
    size_t end = std::min(due, m_script->size());
    if (end <= m_delivered)
        return;
    out.reserve(out.size() + (end - m_delivered) * static_cast<size_t>(m_format.channels));
    for (size_t i = m_delivered; i < end; ++i)
        out.insert(out.end(), static_cast<size_t>(m_format.channels), (*m_script)[i]);
    m_delivered = end;
}

} // namespace media
