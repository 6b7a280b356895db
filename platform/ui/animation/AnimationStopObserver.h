// ui::AnimationStopObserver: what the layer tells, besides an animation's delegate, when an animation stops:
// the view-animation block and the transactions the animation was made in, which run their completions
// from it. Internal to the UI library. Main thread.
#pragma once

namespace ui {

class AnimationStopObserver {
public:
    virtual ~AnimationStopObserver() = default;
    // finished: the animation ran to its end (false: removed or replaced first).
    virtual void animationStopped(bool finished) = 0;
};

} // namespace ui
