// media::AudioPlayerDelegate: what a player tells its owner, always on a later turn of the main run loop (never
// from inside play, pause or stop), so the owner may release the player from these calls.
#pragma once

#include "base/values/Error.h"

namespace media {

class AudioPlayer;

class AudioPlayerDelegate {
public:
    virtual ~AudioPlayerDelegate() = default;
    // Playback reached the end of the samples.
    virtual void audioPlayerDidFinishPlaying(AudioPlayer&, bool /*successfully*/) { }
    // The samples ended before the data said they would; playback has stopped.
    virtual void audioPlayerDecodeErrorDidOccur(AudioPlayer&, const base::Error&) { }
};

} // namespace media
