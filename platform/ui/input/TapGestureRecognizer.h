// ui::TapGestureRecognizer: a discrete recogniser of one or more taps made with a given number of fingers.
// A tap is the required fingers going down together and lifting without moving more than allowableMovement
// points; each further tap must go down within maximumTapInterval of the previous lift and within
// maximumTapDistance of the first. The actions run once, in state recognized, when the last tap lifts.
// Anything else (too many fingers, movement, a late or distant tap) fails it. Main thread.
//
//   auto doubleTap = std::make_shared<ui::TapGestureRecognizer>([weak](ui::GestureRecognizer&) { ... });
//   doubleTap->setNumberOfTapsRequired(2);
//   singleTap->requireGestureRecognizerToFail(doubleTap);
#pragma once

#include "base/loop/RunLoop.h"
#include "ui/input/GestureRecognizer.h"

#include <map>

namespace ui {

class TapGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double allowableMovement = 10;
    static constexpr base::Duration maximumTapInterval { 0.35 };
    static constexpr double maximumTapDistance = 40;

    using GestureRecognizer::GestureRecognizer;
    ~TapGestureRecognizer() override;

    int numberOfTapsRequired() const { return m_tapsRequired; }
    void setNumberOfTapsRequired(int taps) { m_tapsRequired = taps; }
    int numberOfTouchesRequired() const { return m_touchesRequired; }
    void setNumberOfTouchesRequired(int touches) { m_touchesRequired = touches; }

    bool isDiscrete() const override { return true; }
    bool expectsMoreTouches() const override { return m_tapsDone > 0 && m_tapsDone < m_tapsRequired; }

protected:
    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;
    void touchesEnded(const TouchSet& touches) override;
    void reset() override;

private:
    void cancelTimeout();

    int m_tapsRequired { 1 };
    int m_touchesRequired { 1 };
    int m_tapsDone { 0 };
    size_t m_fingersInTap { 0 };
    gfx::Point m_firstLocation;
    std::map<const Touch*, gfx::Point> m_startLocations;
    base::RunLoop::TaskHandle m_timeout;
};

} // namespace ui
