// media::CapturingAudioOutput: an output that keeps what it is given, so a test can check what a player
// played and when: the samples written, in order (a flush drops nothing here, it is only counted), and the
// format it was opened with. It wants no lead: the player writes each sample when the clock reaches it. Main
// thread.
//
//   auto output = backend->outputs().back();
//   EXPECT_EQ(output->samples().size(), 8000u); // one second of mono 8 kHz played
#pragma once

#include "media/backends/AudioOutput.h"

#include <vector>

namespace media {

class CapturingAudioOutput final : public AudioOutput {
public:
    bool open(const AudioFormat& format, base::Error* error = nullptr) override;
    void write(std::span<const int16_t> samples) override;
    void flush() override { ++m_flushCount; }
    base::Duration lead() const override { return base::Duration::zero(); }

    bool isOpen() const { return m_open; }
    const AudioFormat& format() const { return m_format; }
    const std::vector<int16_t>& samples() const { return m_samples; }
    int flushCount() const { return m_flushCount; }

private:
    bool m_open { false };
    AudioFormat m_format;
    std::vector<int16_t> m_samples;
    int m_flushCount { 0 };
};

} // namespace media
