// kit::CustomPullToRefresh: the look of pull-to-refresh on a list: a grey backdrop with a white arrow above the
// content and another below it. The arrows turn when a pull can be released and hide while refreshing; the
// refresh itself is asked of the delegate. Only the top and the bottom refresh, each once the content is
// pulled 30 points beyond its edge, and each holds a 30-point inset open while refreshing. The component keeps
// the scroll view alive and the delegate weakly; its engine is a PullToRefreshController. Main thread.
//
//   m_refresh = kit::CustomPullToRefresh::make(tableView, self);
//   ...   // customPullToRefreshShouldRefresh(refresh, direction): reload, then
//   m_refresh->endRefresh();
#pragma once

#include "kit/refresh/CustomPullToRefreshDelegate.h"
#include "kit/refresh/PullToRefreshController.h"
#include "ui/controls/ImageView.h"
#include "ui/scroll/ScrollView.h"

#include <memory>

namespace kit {

class CustomPullToRefresh : public PullToRefreshDelegate, public std::enable_shared_from_this<CustomPullToRefresh> {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr double refreshInset = 30;

    // Adds the backdrops to the scroll view, sized by its frame now.
    static std::shared_ptr<CustomPullToRefresh> make(
        std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<CustomPullToRefreshDelegate> delegate);
    CustomPullToRefresh(
        Private, std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<CustomPullToRefreshDelegate> delegate);
    ~CustomPullToRefresh() override;

    // Ends refreshing at the top and the bottom (their insets go to 0 over 0.2 s) and puts the arrows back.
    void endRefresh();
    // Starts refreshing at the top by program, without animation; the delegate is asked to refresh.
    void startRefresh();

    const std::shared_ptr<PullToRefreshController>& refreshController() const { return m_refreshController; }
    const std::shared_ptr<ui::ImageView>& backdropTop() const { return m_backdropTop; }
    const std::shared_ptr<ui::ImageView>& arrowTop() const { return m_arrowTop; }
    const std::shared_ptr<ui::ImageView>& backdropBottom() const { return m_backdropBottom; }
    const std::shared_ptr<ui::ImageView>& arrowBottom() const { return m_arrowBottom; }

    bool pullToRefreshControllerCanRefreshInDirection(PullToRefreshController&, int direction) override;
    double pullToRefreshControllerRefreshableInsetForDirection(PullToRefreshController&, int direction) override;
    double pullToRefreshControllerRefreshingInsetForDirection(PullToRefreshController&, int direction) override;
    void pullToRefreshControllerCanEngageRefreshDirection(PullToRefreshController&, int direction) override;
    void pullToRefreshControllerDidDisengageRefreshDirection(PullToRefreshController&, int direction) override;
    void pullToRefreshControllerDidEngageRefreshDirection(PullToRefreshController&, int direction) override;

private:
    void build();
    void placeBottomBackdrop();
    void turnArrows(bool engaged);

    std::shared_ptr<ui::ScrollView> m_scrollView;
    std::weak_ptr<CustomPullToRefreshDelegate> m_delegate;
    std::shared_ptr<PullToRefreshController> m_refreshController;
    std::shared_ptr<ui::ImageView> m_backdropTop;
    std::shared_ptr<ui::ImageView> m_arrowTop;
    std::shared_ptr<ui::ImageView> m_backdropBottom;
    std::shared_ptr<ui::ImageView> m_arrowBottom;
    ui::ScrollView::ObserverToken m_sizeObserver { 0 };
};

} // namespace kit
