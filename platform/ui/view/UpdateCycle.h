// ui::UpdateCycle: the end-of-turn work of the UI on the main run loop. After a turn it runs, in order:
// the layout pass (each view marked by setNeedsLayout gets layoutSubviews, ancestors before descendants,
// again for views marked meanwhile), the display pass (each layer marked by setNeedsDisplay that is in a
// window draws its contents; layers outside windows stay marked until they join one), the commit of the
// turn's implicit transaction, then the frame listeners (hosts that show or record frames). A turn that leaves
// work waiting (a task due, a reply ready to read) hands this work to the next turn, and a display pass that
// sees such work arrive while it draws finishes on the next turn, with no frame in between; the frame
// listeners likewise let work that arrived during the passes go first. None of them waits two turns running.
// It runs whether or not anything is shown on a screen. Main thread.
//
//   ui::UpdateCycle::main().runPasses();   // lay out and draw now, as a host does before it renders
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class Layer;
class View;

class UpdateCycle {
public:
    static UpdateCycle& main();

    void scheduleLayout(std::weak_ptr<View> view);
    void scheduleDisplay(std::weak_ptr<Layer> layer);

    // The layout pass, then the display pass.
    void runPasses();

    // Called at the end of each turn, after the passes.
    uint64_t addFrameListener(std::function<void()> listener);
    void removeFrameListener(uint64_t id);

private:
    UpdateCycle();
    void endOfTurn();
    void layoutPass();
    // Draws the marked layers in windows; one that may give way stops early when work waits for the main loop
    // (see endOfTurn), leaves the rest marked for the next pass, and returns false.
    bool displayPass(bool mayGiveWay);

    std::vector<std::weak_ptr<View>> m_layout;
    std::vector<std::weak_ptr<Layer>> m_display;
    struct Listener {
        uint64_t id;
        std::function<void()> call;
    };
    std::vector<Listener> m_listeners;
    uint64_t m_nextListenerId { 1 };
    bool m_waitedForDueWork { false };
    bool m_displayGaveWay { false };
    bool m_frameWaited { false };
};

} // namespace ui
