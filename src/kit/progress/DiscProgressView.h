// kit::DiscProgressView: progress as a ring-shaped disc: a faint full track, the progress swept clockwise
// from twelve o'clock over it, a round knob at the start and one at the end of the sweep, and the middle cut
// out so that a ring 0.3 of the radius wide remains. Colours default to white (progress) and white at 0.3
// alpha (track). Main thread.
//
//   auto disc = std::make_shared<kit::DiscProgressView>();   // 40 x 40 points
//   disc->setProgress(0.6f);
#pragma once

#include "ui/view/View.h"

namespace kit {

class DiscProgressView : public ui::View {
public:
    static constexpr gfx::Rect defaultFrame { 0, 0, 40, 40 };

    explicit DiscProgressView(const gfx::Rect& frame = defaultFrame);

    float progress() const { return m_progress; }
    void setProgress(float progress);
    // Reading an unset colour stores and returns its default. Setting a colour does not redraw.
    const gfx::Color& trackTintColor();
    void setTrackTintColor(std::optional<gfx::Color> color) { m_trackTintColor = std::move(color); }
    const gfx::Color& progressTintColor();
    void setProgressTintColor(std::optional<gfx::Color> color) { m_progressTintColor = std::move(color); }

    // The angle (radians) where the progress sweep ends: from -90 degrees at 0 to 269.9 at 1.
    static double endAngle(float progress);

    void drawRect(const gfx::Rect& rect) override;

private:
    float m_progress { 0 };
    std::optional<gfx::Color> m_trackTintColor;
    std::optional<gfx::Color> m_progressTintColor;
};

} // namespace kit
