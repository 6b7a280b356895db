// kit::CircularProgressView: progress as a coloured arc over a full background ring, both shape layers
// stroked clockwise from twelve o'clock. A plain ring is made with the frame alone: set the colours, then the
// line width (which builds the rings with the colours of that moment), then the progress. Made with an audio
// file, the view also owns a player: the arc follows the playback ten times a second, a tap on the ring
// seeks there and plays, and a drag round the ring scrubs and seeks where it ends. Main thread.
//
//   auto ring = std::make_shared<kit::CircularProgressView>(gfx::Rect { 0, 0, 200, 200 });
//   ring->setBackColor(gfx::Color::fromWhite(236.0 / 255, 1));
//   ring->setProgressColor(gfx::Color::rgb(0.52, 0.8, 0.05));
//   ring->setLineWidth(10);
//   ring->setProgress(0.25f);
#pragma once

#include "base/text/URL.h"
#include "kit/progress/CircularProgressViewDelegate.h"
#include "media/playback/AudioPlayerDelegate.h"
#include "ui/view/View.h"

#include <memory>
#include <optional>

namespace ui {
class DisplayLink;
class GestureRecognizer;
class ShapeLayer;
}

namespace kit {

class CircularProgressView : public ui::View, public media::AudioPlayerDelegate {
public:
    // A plain ring: no audio and no gestures.
    explicit CircularProgressView(const gfx::Rect& frame = {});
    // A ring driven by the audio file at `audioURL` and seekable by taps and drags. A file that cannot be
    // opened leaves the view without a player: the ring then still takes taps and drags, without audio.
    static std::shared_ptr<CircularProgressView> makeWithAudio(const gfx::Rect& frame,
        std::optional<gfx::Color> backColor, std::optional<gfx::Color> progressColor, double lineWidth,
        const base::URL& audioURL);
    ~CircularProgressView() override;

    const std::optional<gfx::Color>& backColor() const { return m_backColor; }
    // Takes effect on the rings built by the next setLineWidth().
    void setBackColor(std::optional<gfx::Color> color) { m_backColor = std::move(color); }
    const std::optional<gfx::Color>& progressColor() const { return m_progressColor; }
    void setProgressColor(std::optional<gfx::Color> color) { m_progressColor = std::move(color); }

    double lineWidth() const { return m_lineWidth; }
    // Adds a background ring and a progress ring of this width (earlier rings stay); the new progress ring
    // starts empty.
    void setLineWidth(double width);

    const std::optional<base::URL>& audioURL() const { return m_audioURL; }
    // A new player for the file (with its duration); the URL is stored in any case.
    void setAudioURL(std::optional<base::URL> url);
    // The audio's length in seconds, as read by setAudioURL().
    double duration() const { return m_duration; }
    void setDuration(double seconds) { m_duration = seconds; }

    float progress() const { return m_progress; }
    // Above 0: the arc shows up to `progress` (animated as stand-alone layers animate). 0: the arc hides at
    // once and is emptied a tenth of a second later, unless a new progress came meanwhile.
    void setProgress(float progress);

    bool playOrPauseButtonIsPlaying() const { return m_playOrPauseButtonIsPlaying; }
    void setPlayOrPauseButtonIsPlaying(bool playing) { m_playOrPauseButtonIsPlaying = playing; }

    std::weak_ptr<CircularProgressViewDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<CircularProgressViewDelegate> delegate) { m_delegate = std::move(delegate); }

    void play();
    void pause();
    void stop();

    // The angle of `point` (bounds space) round the centre, clockwise from twelve o'clock, 0 to 2 pi.
    double angleFromStartToPoint(gfx::Point point) const;
    // The unsigned angle between two lines, 0 to pi; 0 when either has no length.
    static double angleBetweenLines(
        gfx::Point line1Start, gfx::Point line1End, gfx::Point line2Start, gfx::Point line2End);
    // The angle of the last tap or drag.
    double angle() const { return m_angle; }

    const std::shared_ptr<media::AudioPlayer>& player() const { return m_player; }
    const std::shared_ptr<ui::ShapeLayer>& progressLayer() const { return m_progressLayer; }
    const std::shared_ptr<ui::DisplayLink>& displayLink() const { return m_displayLink; }

    void audioPlayerDidFinishPlaying(media::AudioPlayer& player, bool successfully) override;

private:
    void setUp();
    void openPlayer(const base::URL& url);
    std::shared_ptr<ui::ShapeLayer> makeRingLayer(
        gfx::Point center, double radius, double width, const std::optional<gfx::Color>& color) const;
    void updateProgressCircle();
    void handleTap(ui::GestureRecognizer& recognizer);
    void handlePan(ui::GestureRecognizer& recognizer);
    void seekToAngle();
    void releaseDisplayLink();

    std::optional<gfx::Color> m_backColor;
    std::optional<gfx::Color> m_progressColor;
    std::optional<base::URL> m_audioURL;
    double m_lineWidth { 0 };
    double m_duration { 0 };
    bool m_playOrPauseButtonIsPlaying { false };
    float m_progress { 0 };
    double m_angle { 0 };
    std::weak_ptr<CircularProgressViewDelegate> m_delegate;
    std::shared_ptr<ui::DisplayLink> m_displayLink;
    std::shared_ptr<media::AudioPlayer> m_player;
    std::shared_ptr<ui::ShapeLayer> m_progressLayer;
};

} // namespace kit
