// kit::PullToRefreshController: turns a pull past any edge of a scroll view into a refresh. It watches the
// content offset (before and after each change) and, per direction, engages when a drag pulls the content
// further than the delegate's refreshable inset beyond that edge, starts refreshing when the finger lifts
// there (the first notification before a change after the drag has ended, while the view decelerates),
// opening the delegate's refreshing inset on that side, and disengages when the pull comes back inside. It
// draws nothing; each edge is a RefreshEngine. It keeps the scroll view alive and the delegate weakly. Main
// thread.
//
//   auto engine = kit::PullToRefreshController::make(tableView, owner);
//   ...   // owner hears pullToRefreshControllerDidEngageRefreshDirection and reloads
//   engine->finishRefreshingDirection(kit::RefreshDirection::Top, true);
#pragma once

#include "kit/refresh/PullToRefreshDelegate.h"
#include "kit/refresh/RefreshEngine.h"
#include "ui/scroll/ScrollView.h"

#include <array>
#include <memory>

namespace kit {

class PullToRefreshController : public std::enable_shared_from_this<PullToRefreshController> {
    struct Private {
        explicit Private() = default;
    };

public:
    static std::shared_ptr<PullToRefreshController> make(
        std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<PullToRefreshDelegate> delegate);
    PullToRefreshController(
        Private, std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<PullToRefreshDelegate> delegate);
    ~PullToRefreshController();
    PullToRefreshController(const PullToRefreshController&) = delete;
    PullToRefreshController& operator=(const PullToRefreshController&) = delete;

    // The scroll view's content size, or its frame size when the content's area is the smaller one.
    static gfx::Size sanitizedContentSize(const ui::ScrollView& scrollView);

    const std::shared_ptr<ui::ScrollView>& scrollView() const { return m_scrollView; }

    // Puts a direction into the refreshing state by program: its side of the inset becomes the refreshing
    // inset and the content moves to show the refresh area (over 0.2 s when animated). Repeats every step,
    // delegate report included, when the direction already refreshes.
    void startRefreshingDirection(int direction, bool animated = false);
    // Ends refreshing: the direction's side of the inset goes to 0 (not back to what it was before).
    void finishRefreshingDirection(int direction, bool animated = false);

    // Bit masks of 1 << direction: engaged (will refresh if released now) and refreshing directions. A
    // refreshing direction is never engaged as well.
    int refreshableDirections() const { return directionsIn(RefreshEngine::Phase::Pulling); }
    void setRefreshableDirections(int directions);
    int refreshingDirections() const { return directionsIn(RefreshEngine::Phase::Refreshing); }
    void setRefreshingDirections(int directions);

    std::shared_ptr<PullToRefreshDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PullToRefreshDelegate> delegate) { m_delegate = std::move(delegate); }

private:
    void observeOffset();
    void contentOffsetChanged(const ui::PropertyChange<gfx::Point>& change);
    void checkOffsetsForDirection(int direction, const ui::PropertyChange<gfx::Point>& change);
    // The engine of a direction, or nullptr for a number that is none.
    RefreshEngine* edge(int direction);
    int directionsIn(RefreshEngine::Phase phase) const;

    std::shared_ptr<ui::ScrollView> m_scrollView;
    std::weak_ptr<PullToRefreshDelegate> m_delegate;
    ui::ScrollView::ObserverToken m_offsetObserver { 0 };
    std::array<RefreshEngine, 4> m_edges { RefreshEngine(RefreshDirection::Top), RefreshEngine(RefreshDirection::Left),
        RefreshEngine(RefreshDirection::Bottom), RefreshEngine(RefreshDirection::Right) };
    bool m_wasDragging { false };
};

} // namespace kit
