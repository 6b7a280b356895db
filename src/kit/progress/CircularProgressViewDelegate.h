// kit::CircularProgressViewDelegate: what an audio-driven CircularProgressView tells its owner: each progress
// step while the audio plays or the user drags round the ring, when the play/pause button should follow a tap
// or the end of a drag, and when the audio has played to its end. Every method is optional. Main thread.
#pragma once

namespace media {
class AudioPlayer;
}

namespace kit {

class CircularProgressViewDelegate {
public:
    virtual ~CircularProgressViewDelegate() = default;
    // The player may be null (a view without audio).
    virtual void updateProgressViewWithPlayer(media::AudioPlayer*) { }
    virtual void updatePlayOrPauseButton() { }
    virtual void playerDidFinishPlaying() { }
};

} // namespace kit
