// media::AudioRecorderSettings: what a recorder is asked to record. Only linear PCM of 16-bit interleaved
// little-endian integers is recorded (what every caller asks for); other settings make the recorder refuse.
#pragma once

#include <cstdint>
#include <optional>

namespace media {

struct AudioRecorderSettings {
    static constexpr uint32_t FormatLinearPCM = 0x6c70636d; // 'lpcm'

    uint32_t formatID { FormatLinearPCM };
    double sampleRate { 44100 };
    int numberOfChannels { 2 };
    int linearPCMBitDepth { 16 };
    bool linearPCMIsNonInterleaved { false };
    bool linearPCMIsFloat { false };
    bool linearPCMIsBigEndian { false };
    // Kept for callers that set it; linear PCM has no encoder to tune.
    std::optional<int> encoderAudioQuality;
};

} // namespace media
