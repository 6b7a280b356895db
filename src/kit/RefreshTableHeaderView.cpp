#include "kit/RefreshTableHeaderView.h"

#include "base/Localization.h"

#include <algorithm>
#include <numbers>

namespace kit {

namespace {
    constexpr double loadingAnimationDuration = 0.2;

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
    : RefreshTableEdgeView(frame, key)
{
}

void RefreshTableHeaderView::setState(int state)
{
    switch (state) {
    case Pulling:
        statusLabel()->setText(base::localized("release_to_refresh"));
        turnArrow(halfTurn());
        break;
    case Normal:
        if (this->state() == Pulling)
            turnArrow(gfx::Transform3D::identity());
        statusLabel()->setText(base::localized("down_to_refresh"));
        activityView()->stopAnimating();
        showArrow(gfx::Transform3D::identity());
        refreshLastUpdatedDate();
        break;
    case Loading:
        statusLabel()->setText(base::localized("loading ..."));
        activityView()->startAnimating();
        hideArrow();
        break;
    default:
        break;
    }
    storeState(state);
}

void RefreshTableHeaderView::refreshLastUpdatedDate() { }

void RefreshTableHeaderView::refreshScrollViewDidScroll(ui::ScrollView& scrollView)
{
    double y = scrollView.contentOffset().y;
    if (state() == Loading) {
        double top = y > 0 ? 0 : std::min(-y, loadingInset);
        scrollView.setContentInset({ top, 0, 0, 0 });
        return;
    }
    if (!scrollView.isDragging())
        return;
    bool loading = delegateIsLoading();
    if (state() == Pulling && y > -triggerDistance && y < 0 && !loading)
        setState(Normal);
    else if (state() == Normal && y < -triggerDistance && !loading)
        setState(Pulling);
    if (scrollView.contentInset().top != 0)
        scrollView.setContentInset({ 0, 0, 0, 0 });
}

void RefreshTableHeaderView::refreshScrollViewDidEndDragging(ui::ScrollView& scrollView)
{
    if (delegateIsLoading() || scrollView.contentOffset().y > -triggerDistance)
        return;
    auto self = ui::sharedFrom(this);
    if (auto delegate = this->delegate())
        delegate->refreshTableDidTriggerRefresh(RefreshTableDelegate::FromHeader);
    setState(Loading);
    ui::View::beginAnimations({});
    ui::View::setAnimationDuration(loadingAnimationDuration);
    scrollView.setContentInset({ loadingInset, 0, 0, 0 });
    ui::View::commitAnimations();
}

} // namespace kit
