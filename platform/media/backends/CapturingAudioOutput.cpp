#include "media/backends/CapturingAudioOutput.h"

namespace media {

bool CapturingAudioOutput::open(const AudioFormat& format, base::Error*)
{
    m_open = true;
    m_format = format;
    return true;
}

void CapturingAudioOutput::write(std::span<const int16_t> samples)
{
    m_samples.insert(m_samples.end(), samples.begin(), samples.end());
}

} // namespace media
