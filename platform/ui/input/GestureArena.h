// ui::GestureArena: where the recognisers that follow the current touches compete. It offers each new touch
// to the recognisers bound to it (in the touch's order: the hit view's first, then its ancestors'), delivers
// the later phases to the recognisers following the touch, and settles who recognises:
// - a recogniser that requires another to fail waits while that one is still possible and participating,
//   recognises once it has failed, and fails if it recognises;
// - the first recogniser to recognise makes every other possible one that shares a touch with it fail,
//   unless a delegate of either lets the two recognise simultaneously;
// - a recogniser that recognises with cancelsTouchesInView set has its touches that are still down
//   cancelled in their views (through the canceller given at construction);
// - once its touches are over, a possible recogniser that expects no more touches fails, and a recogniser
//   in an end state goes back to possible and leaves the arena.
// The touch dispatcher owns one arena; tests may make their own to drive recognisers without views.
// Main thread.
//
//   auto arena = std::make_shared<ui::GestureArena>();
//   arena->touchBegan(touch, { tap });
//   touch->update(ui::TouchPhase::Ended, p, now);
//   arena->touchChanged(touch);
#pragma once

#include "ui/input/GestureRecognizer.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class GestureArena : public std::enable_shared_from_this<GestureArena> {
public:
    using TouchCanceller = std::function<void(const std::shared_ptr<Touch>&)>;
    enum class Verdict { Recognize, Wait, Fail };

    explicit GestureArena(TouchCanceller cancelTouchInView = {});

    // A touch went down: the recognisers bound to it (in order) that accept it start following it, then get it.
    void touchBegan(const std::shared_ptr<Touch>& touch, const std::vector<std::shared_ptr<GestureRecognizer>>& bound);
    // The touch moved, ended or was cancelled (its phase says which).
    void touchChanged(const std::shared_ptr<Touch>& touch);

    // For recognisers.
    Verdict verdictFor(GestureRecognizer& recognizer) const;
    void join(const std::shared_ptr<GestureRecognizer>& recognizer);
    void leave(const GestureRecognizer& recognizer);
    void recognized(GestureRecognizer& recognizer);
    void failed(GestureRecognizer& recognizer);

    bool isParticipating(const GestureRecognizer& recognizer) const;

    // Holds off settling until the outermost scope ends, so that recognisers are never reset in the middle
    // of a delivery.
    class Scope {
    public:
        explicit Scope(GestureArena& arena);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        std::shared_ptr<GestureArena> m_arena;
    };

private:
    void settle();
    void settleWaiters();
    [[nodiscard]] bool settleFinished();

    TouchCanceller m_cancelTouchInView;
    std::vector<std::shared_ptr<GestureRecognizer>> m_members;
    int m_depth { 0 };
};

} // namespace ui
