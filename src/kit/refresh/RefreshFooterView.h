// kit::RefreshFooterView: the pull-up load-more view of a scroll view. It sits just below the content (or at
// the bottom of the visible area when the content is shorter); a drag that pulls more than 64 points beyond
// the point where the footer starts to show turns its arrow, and lifting the finger there starts a refresh:
// the bottom inset grows to hold the footer in view and the target and the block are called. When the
// refresh ends with more rows than it started with, the content stops where it is. Main thread.
//
//   auto footer = kit::RefreshFooterView::footer();
//   tableView->addSubview(footer);
//   footer->setBeginRefreshingCallback([weak] { if (auto self = weak.lock()) self->loadMore(); });
#pragma once

#include "kit/refresh/RefreshBaseView.h"

#include <cstdint>

namespace kit {

class RefreshFooterView : public RefreshBaseView {
    struct Private {
        explicit Private() = default;
    };

public:
    static std::shared_ptr<RefreshFooterView> footer();
    RefreshFooterView(Private, const gfx::Rect& frame);
    ~RefreshFooterView() override;

    int64_t lastRefreshCount() const { return m_lastRefreshCount; }
    void setLastRefreshCount(int64_t count) { m_lastRefreshCount = count; }

    void setState(int state) override;
    void layoutSubviews() override;
    void willMoveToSuperview(const std::shared_ptr<ui::View>& newSuperview) override;

    // Rows of a table, items of a collection view, 0 for other scroll views.
    static int64_t totalDataCountInScrollView(ui::ScrollView& scrollView);

private:
    void stopObservingContentSize();
    void adjustFrameWithContentSize();
    double pullBeyondEdge(const ui::ScrollView& scrollView) const override;
    // How much taller the content is than the visible area (negative when shorter).
    double heightForContentBreakView() const;

    int64_t m_lastRefreshCount { 0 };
    std::weak_ptr<ui::ScrollView> m_observedScrollView;
    ui::ScrollView::ObserverToken m_sizeObserver { 0 };
};

} // namespace kit
