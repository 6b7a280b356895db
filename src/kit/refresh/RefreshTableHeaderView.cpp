#include "kit/refresh/RefreshTableHeaderView.h"

#include <algorithm>
#include <numbers>

namespace kit {

namespace {
    gfx::Transform3D halfTurn() { return gfx::Transform3D::makeRotation(std::numbers::pi, 0, 0, 1); }
} // namespace

std::shared_ptr<RefreshTableHeaderView> RefreshTableHeaderView::make(const gfx::Rect& frame,
    const std::string& arrowImageName, gfx::Color textColor, const std::optional<std::string>& key)
{
    auto header = std::make_shared<RefreshTableHeaderView>(Private(), frame, key);
    double width = header->frame().width();
    double height = frame.height();
    header->build(
        {
            .lastUpdatedLabel = {},
            .statusLabel = { 0, height - 38, width, 20 },
            .statusFontSize = 14,
            .arrow = { 25, height - 65, 30, 55 },
            .spinner = { 25, height - 38, 20, 20 },
            .showsLastUpdatedLabel = false,
        },
        arrowImageName, textColor);
    return header;
}

std::shared_ptr<RefreshTableHeaderView> RefreshTableHeaderView::make(const gfx::Rect& frame)
{
    return make(frame, defaultArrowImageName, defaultTextColor(), std::nullopt);
}

RefreshTableHeaderView::RefreshTableHeaderView(Private, const gfx::Rect& frame, const std::optional<std::string>& key)
    : RefreshTableEdgeView(frame, key, RefreshDirection::Top)
{
}

void RefreshTableHeaderView::setState(int state)
{
    showState(
        state, { "release_to_refresh", "down_to_refresh", "loading ...", halfTurn(), gfx::Transform3D::identity() });
}

void RefreshTableHeaderView::refreshLastUpdatedDate() { }

void RefreshTableHeaderView::refreshScrollViewDidScroll(ui::ScrollView& scrollView)
{
    if (state() == Loading) {
        // The header stays open by as much as the content is pulled down, up to the loading inset.
        double y = scrollView.contentOffset().y;
        double top = y > 0 ? 0 : std::min(-y, loadingInset);
        scrollView.setContentInset({ top, 0, 0, 0 });
        return;
    }
    if (scrollView.isDragging())
        followDrag(scrollView, scrollView.contentOffset().y < 0);
}

void RefreshTableHeaderView::refreshScrollViewDidEndDragging(ui::ScrollView& scrollView)
{
    releaseBeyond(scrollView, RefreshEngine::ThresholdItself::Beyond, RefreshTableDelegate::FromHeader,
        { loadingInset, 0, 0, 0 });
}

} // namespace kit
