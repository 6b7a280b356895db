// kit::RefreshEngine: the one pull-to-refresh engine under the kit's refresh looks (the refresh header and
// footer that attach to a scroll view, the table refresh header and footer, each edge of the pull-to-refresh
// controller). One engine serves one edge of a scroll view: it measures how far the content is pulled beyond
// that edge, keeps the edge's phase (normal; pulling, i.e. past the threshold so that a release will
// refresh; refreshing) with the rules that move it while a finger drags, moves the scroll view's inset (and
// offset) in an animation when a refresh opens or closes, and keeps the last refresh in the user defaults.
// The looks draw the phases, pick the thresholds and say when a release counts. Main thread.
//
//   kit::RefreshEngine engine(kit::RefreshDirection::Top);
//   double pull = engine.pullBeyond(scrollView.contentOffset(), scrollView.frame().size, content, rest);
//   if (auto next = engine.dragStep(pull, 64); next && scrollView.isDragging()) engine.moveTo(*next);
#pragma once

#include "base/values/Value.h"
#include "gfx/geometry/EdgeInsets.h"
#include "gfx/geometry/Point.h"
#include "gfx/geometry/Size.h"

#include <optional>
#include <string>

namespace ui {
class ScrollView;
}

namespace kit {

// The edges a pull can happen at; sets of them are bit masks of 1 << direction.
namespace RefreshDirection {
    constexpr int Top = 0;
    constexpr int Left = 1;
    constexpr int Bottom = 2;
    constexpr int Right = 3;
} // namespace RefreshDirection

class RefreshEngine {
public:
    enum class Phase { Normal, Pulling, Refreshing };
    // Whether a pull of exactly the threshold counts as beyond it when an edge is already pulling (it stays
    // pulling) and when the finger lifts (it refreshes). Getting to pulling always needs strictly more.
    enum class ThresholdItself { Inside, Beyond };

    explicit RefreshEngine(int direction)
        : m_direction(direction)
    {
    }

    int direction() const { return m_direction; }
    Phase phase() const { return m_phase; }
    bool isRefreshing() const { return m_phase == Phase::Refreshing && !m_lookState; }
    // Whether the phase changed. Leaves any state of the look's own.
    bool moveTo(Phase phase);

    // A look's numbers for the phases. A state that is none of them is the look's own (before it is made,
    // waiting for a window...): it is kept as given, and while it holds, drags move nothing.
    struct StateNumbers {
        int pulling;
        int normal;
        int refreshing;
    };
    int numberedState(const StateNumbers& numbers) const;
    void setNumberedState(int state, const StateNumbers& numbers);

    // How far the content is pulled beyond the edge, in points (negative while it is inside): at the top
    // (left), how far the offset lies before its rest at minus the rest inset; at the bottom (right), how far
    // the end of the visible area, less the rest inset, lies past the end of `content`.
    double pullBeyond(gfx::Point offset, gfx::Size frame, gfx::Size content, const gfx::EdgeInsets& rest) const;
    static bool isBeyond(double pull, double threshold, ThresholdItself itself);

    // A step of a drag: normal becomes pulling once the pull is strictly beyond `threshold`; pulling becomes
    // normal once the pull is back inside it. The phase the step calls for, or none when it stays.
    std::optional<Phase> dragStep(
        double pull, double threshold, ThresholdItself itself = ThresholdItself::Inside) const;

    // The edge's side of an inset, and the inset with that side replaced by `value`.
    double side(const gfx::EdgeInsets& inset) const;
    gfx::EdgeInsets withSide(gfx::EdgeInsets inset, double value) const;
    // Sets the scroll view's inset, then the offset when one is given, in an animation of `duration` seconds
    // (at once when 0).
    static void moveInset(ui::ScrollView& scrollView, const gfx::EdgeInsets& inset, double duration,
        std::optional<gfx::Point> offset = std::nullopt);

    // The last refresh as the user defaults keep it under `key`, and keeping a new one there.
    static std::optional<base::Value> storedLastUpdate(const std::string& key);
    static void storeLastUpdate(const std::string& key, base::Value value);

private:
    int m_direction;
    Phase m_phase { Phase::Normal };
    std::optional<int> m_lookState;
};

} // namespace kit
