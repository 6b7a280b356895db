#include "kit/refresh/RefreshFooterView.h"

#include "base/loop/MainThread.h"
#include "kit/support/ScrollViewFieldAccessors.h"
#include "kit/support/ViewFieldAccessors.h"
#include "ui/scroll/CollectionView.h"
#include "ui/scroll/TableView.h"

#include <algorithm>

namespace kit {

std::shared_ptr<RefreshFooterView> RefreshFooterView::footer()
{
    BASE_ASSERT_MAIN_THREAD();
    auto footer = std::make_shared<RefreshFooterView>(Private(), gfx::Rect {});
    footer->setPullToRefreshText("上拉可以加载更多数据");
    footer->setReleaseToRefreshText("松开立即加载更多数据");
    footer->setRefreshingText("正在加载更多数据...");
    footer->finishMaking();
    return footer;
}

RefreshFooterView::RefreshFooterView(Private, const gfx::Rect& frame)
    : RefreshBaseView(frame, RefreshDirection::Bottom)
{
    BASE_ASSERT_MAIN_THREAD();
}

RefreshFooterView::~RefreshFooterView() { stopObservingContentSize(); }

void RefreshFooterView::layoutSubviews()
{
    RefreshBaseView::layoutSubviews();
    statusLabel()->setFrame(bounds());
}

void RefreshFooterView::stopObservingContentSize()
{
    if (auto old = m_observedScrollView.lock())
        old->removeContentSizeObserver(m_sizeObserver);
    m_sizeObserver = 0;
}

void RefreshFooterView::willMoveToSuperview(const std::shared_ptr<ui::View>& newSuperview)
{
    RefreshBaseView::willMoveToSuperview(newSuperview);
    stopObservingContentSize();
    auto scrollView = this->scrollView();
    m_observedScrollView = scrollView;
    if (!scrollView)
        return;
    m_sizeObserver
        = scrollView->addContentSizeObserver(false, [weak = ui::weakFrom(this)](const ui::PropertyChange<gfx::Size>&) {
              if (auto self = weak.lock(); self && self->isActive())
                  self->adjustFrameWithContentSize();
          });
    adjustFrameWithContentSize();
}

void RefreshFooterView::adjustFrameWithContentSize()
{
    auto scrollView = this->scrollView();
    if (!scrollView)
        return;
    const gfx::EdgeInsets& saved = scrollViewOriginalInset();
    double visibleHeight = frameHeight(*scrollView) - saved.top - saved.bottom;
    setFrameY(*this, std::max(contentSizeHeight(*scrollView), visibleHeight));
}

double RefreshFooterView::heightForContentBreakView() const
{
    auto scrollView = this->scrollView();
    if (!scrollView)
        return 0;
    const gfx::EdgeInsets& saved = scrollViewOriginalInset();
    return contentSizeHeight(*scrollView) - (frameHeight(*scrollView) - saved.bottom - saved.top);
}

double RefreshFooterView::pullBeyondEdge(const ui::ScrollView& scrollView) const
{
    // The footer starts to show once the end of the content, or of the visible area when the content is
    // shorter, is reached.
    const gfx::EdgeInsets& saved = scrollViewOriginalInset();
    gfx::Size frame = scrollView.frame().size;
    double visibleHeight = frame.height - saved.top - saved.bottom;
    gfx::Size content { 0, std::max(contentSizeHeight(scrollView), visibleHeight) };
    return engine().pullBeyond(scrollView.contentOffset(), frame, content, saved);
}

int64_t RefreshFooterView::totalDataCountInScrollView(ui::ScrollView& scrollView)
{
    int64_t total = 0;
    if (auto* table = dynamic_cast<ui::TableView*>(&scrollView)) {
        for (int section = 0; section < table->numberOfSections(); ++section)
            total += table->numberOfRowsInSection(section);
    } else if (auto* collection = dynamic_cast<ui::CollectionView*>(&scrollView)) {
        for (int section = 0; section < collection->numberOfSections(); ++section)
            total += collection->numberOfItemsInSection(section);
    }
    return total;
}

void RefreshFooterView::setState(int state)
{
    if (state == this->state())
        return;
    int old = this->state();
    RefreshBaseView::setState(state);
    auto scrollView = this->scrollView();
    if (!scrollView)
        return;
    if (state == Normal && old == Refreshing) {
        closeEdgeInset(*scrollView, scrollViewOriginalInset().bottom);
        // New rows below: stop the content where it is instead of letting it spring back over them.
        if (heightForContentBreakView() > 0 && totalDataCountInScrollView(*scrollView) != m_lastRefreshCount)
            setOffsetY(*scrollView, offsetY(*scrollView));
    } else if (state == Refreshing) {
        m_lastRefreshCount = totalDataCountInScrollView(*scrollView);
        double bottom = frameHeight(*this) + scrollViewOriginalInset().bottom;
        double shortfall = heightForContentBreakView();
        if (shortfall < 0)
            bottom -= shortfall;
        openEdgeInset(*scrollView, bottom);
    }
}

} // namespace kit
