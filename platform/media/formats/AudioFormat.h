// media::AudioFormat: the shape of the sample streams between recorder, player and backends: signed 16-bit
// samples in native byte order, channels interleaved, at a given rate.
#pragma once

namespace media {

struct AudioFormat {
    double sampleRate { 8000 };
    int channels { 1 };

    bool operator==(const AudioFormat&) const = default;
};

} // namespace media
