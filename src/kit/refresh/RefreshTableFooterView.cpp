#include "kit/refresh/RefreshTableFooterView.h"

#include "base/loop/MainThread.h"
#include "base/text/LocalizedFormat.h"
#include "base/time/DateFormatter.h"

#include <numbers>

namespace kit {

namespace {
    gfx::Transform3D halfTurn() { return gfx::Transform3D::makeRotation(std::numbers::pi, 0, 0, 1); }
} // namespace

std::shared_ptr<RefreshTableFooterView> RefreshTableFooterView::make(const gfx::Rect& frame,
    const std::string& arrowImageName, gfx::Color textColor, const std::optional<std::string>& key)
{
    auto footer = std::make_shared<RefreshTableFooterView>(Private(), frame, key);
    double width = footer->frame().width();
    footer->build(
        {
            .lastUpdatedLabel = { 0, 40, width, 20 },
            .statusLabel = { 0, 20, width, 20 },
            .statusFontSize = 13,
            .arrow = { 25, 20, 30, 55 },
            .spinner = { 25, 20, 20, 20 },
            .showsLastUpdatedLabel = true,
        },
        arrowImageName, textColor);
    return footer;
}

std::shared_ptr<RefreshTableFooterView> RefreshTableFooterView::make(const gfx::Rect& frame)
{
    return make(frame, defaultArrowImageName, defaultTextColor(), std::nullopt);
}

RefreshTableFooterView::RefreshTableFooterView(Private, const gfx::Rect& frame, const std::optional<std::string>& key)
    : RefreshTableEdgeView(frame, key, RefreshDirection::Bottom)
{
}

void RefreshTableFooterView::setState(int state)
{
    BASE_ASSERT_MAIN_THREAD();
    showState(state,
        { "Release to load more...", "Pull up to load more...", "Loading...", gfx::Transform3D::identity(),
            halfTurn() });
}

void RefreshTableFooterView::refreshLastUpdatedDate()
{
    auto delegate = this->delegate();
    auto date = delegate ? delegate->refreshTableDataSourceLastUpdated(*this) : std::nullopt;
    if (!date) {
        lastUpdatedLabel()->setText({});
        return;
    }
    base::DateFormatter formatter;
    formatter.setDateStyle(base::DateFormatter::Style::Short);
    formatter.setTimeStyle(base::DateFormatter::Style::Short);
    std::string text = base::LocalizedFormat::format("Last Updated: %@", { formatter.stringFromDate(*date) });
    lastUpdatedLabel()->setText(text);
    RefreshEngine::storeLastUpdate(key(), base::Value(text));
}

void RefreshTableFooterView::refreshScrollViewDidScroll(ui::ScrollView& scrollView)
{
    if (state() == Loading) {
        scrollView.setContentInset({ 0, 0, loadingInset, 0 });
        return;
    }
    if (scrollView.isDragging())
        followDrag(scrollView, scrollView.contentOffset().y > 0);
}

void RefreshTableFooterView::refreshScrollViewDidEndDragging(ui::ScrollView& scrollView)
{
    releaseBeyond(scrollView, RefreshEngine::ThresholdItself::Inside, RefreshTableDelegate::FromFooter,
        { 0, 0, loadingInset, 0 });
}

} // namespace kit
