// ui::Transaction: groups layer changes and says how stand-alone layers animate them. A change of an
// animatable property of a layer that is not a view's own layer, while it is in a layer tree, animates from
// what is drawn to the new value over the transaction's duration (0.25 s unless set) with its timing
// function, unless actions are disabled. Transactions nest; the settings of the innermost one that sets them
// apply. Without an explicit begin, an implicit transaction lasts until the end of the run-loop turn.
//
// The completion block runs on the run loop once every animation added while the transaction was open has
// stopped (finished or removed), or on the next turn when none was added; never from inside commit().
// Main thread.
//
//   ui::Transaction::begin();
//   ui::Transaction::setAnimationDuration(0.18f);
//   arrow->setTransform(gfx::Transform3D::makeRotation(M_PI, 0, 0, 1));
//   ui::Transaction::commit();
#pragma once

#include "ui/animation/TimingFunction.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class AnimationStopObserver;

class Transaction {
public:
    static void begin();
    static void commit();

    static double animationDuration();
    static void setAnimationDuration(double seconds);
    static TimingFunction animationTimingFunction();
    static void setAnimationTimingFunction(const TimingFunction& timing);
    [[nodiscard]] static bool disableActions();
    static void setDisableActions(bool disable);
    static void setCompletionBlock(std::function<void()> block);

    // Commits the implicit transaction (and any left open); the end-of-turn passes call it.
    static void flush();
    // The observers an animation added now must tell when it stops: one per open transaction.
    static std::vector<std::shared_ptr<AnimationStopObserver>> observersForNewAnimation();
};

} // namespace ui
