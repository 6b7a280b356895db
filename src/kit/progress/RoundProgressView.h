// kit::RoundProgressView: the pie-shaped progress disc of the progress overlay's determinate mode: a white
// circle outline over a faint fill, and a solid white sector growing clockwise from twelve o'clock. Main
// thread.
//
//   auto pie = std::make_shared<kit::RoundProgressView>();   // 37 x 37 points
//   pie->setProgress(0.25f);                                   // the quarter from twelve to three o'clock
#pragma once

#include "ui/view/View.h"

namespace kit {

class RoundProgressView : public ui::View {
public:
    static constexpr gfx::Rect defaultFrame { 0, 0, 37, 37 };

    explicit RoundProgressView(const gfx::Rect& frame = defaultFrame);

    float progress() const { return m_progress; }
    // Stores the value and redraws.
    void setProgress(float progress);

    void drawRect(const gfx::Rect& rect) override;

private:
    float m_progress { 0 };
};

} // namespace kit
