#include "kit/RefreshTableFooterView.h"

#include "base/DateFormatter.h"
#include "base/Localization.h"
#include "base/LocalizedFormat.h"
#include "base/MainThread.h"
#include "base/UserDefaults.h"

#include <numbers>

namespace kit {

namespace {
    constexpr double loadingAnimationDuration = 0.2;

    gfx::Transform3D halfTurn() { return gfx::Transform3D::makeRotation(std::numbers::pi, 0, 0, 1); }
} // namespace

std::shared_ptr<RefreshTableFooterView> RefreshTableFooterView::make(const gfx::Rect& frame,
    const std::string& arrowImageName, gfx::Color textColor, const std::optional<std::string>& key)
{
    BASE_ASSERT_MAIN_THREAD();
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
    BASE_ASSERT_MAIN_THREAD();
    return make(frame, defaultArrowImageName, defaultTextColor(), std::nullopt);
}

RefreshTableFooterView::RefreshTableFooterView(Private, const gfx::Rect& frame, const std::optional<std::string>& key)
    : RefreshTableEdgeView(frame, key)
{
}

void RefreshTableFooterView::setState(int state)
{
    switch (state) {
    case Pulling:
        statusLabel()->setText(base::localized("Release to load more..."));
        turnArrow(gfx::Transform3D::identity());
        break;
    case Normal:
        if (this->state() == Pulling)
            turnArrow(halfTurn());
        statusLabel()->setText(base::localized("Pull up to load more..."));
        activityView()->stopAnimating();
        showArrow(halfTurn());
        refreshLastUpdatedDate();
        break;
    case Loading:
        statusLabel()->setText(base::localized("Loading..."));
        activityView()->startAnimating();
        hideArrow();
        break;
    default:
        break;
    }
    storeState(state);
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
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject(base::Value(text), key());
    (void)defaults.synchronize(); // a failed write is logged and tried again at the next save or at exit
}

double RefreshTableFooterView::pullBeyondEnd(const ui::ScrollView& scrollView)
{
    return scrollView.contentOffset().y + scrollView.frame().height() - scrollView.contentSize().height;
}

void RefreshTableFooterView::refreshScrollViewDidScroll(ui::ScrollView& scrollView)
{
    if (state() == Loading) {
        scrollView.setContentInset({ 0, 0, loadingInset, 0 });
        return;
    }
    if (!scrollView.isDragging())
        return;
    bool loading = delegateIsLoading();
    double beyond = pullBeyondEnd(scrollView);
    if (state() == Pulling && beyond < triggerDistance && scrollView.contentOffset().y > 0 && !loading)
        setState(Normal);
    else if (state() == Normal && beyond > triggerDistance && !loading)
        setState(Pulling);
    if (scrollView.contentInset().top != 0)
        scrollView.setContentInset({ 0, 0, 0, 0 });
}

void RefreshTableFooterView::refreshScrollViewDidEndDragging(ui::ScrollView& scrollView)
{
    if (delegateIsLoading() || !(pullBeyondEnd(scrollView) > triggerDistance))
        return;
    auto self = ui::sharedFrom(this);
    if (auto delegate = this->delegate())
        delegate->refreshTableDidTriggerRefresh(RefreshTableDelegate::FromFooter);
    setState(Loading);
    ui::View::beginAnimations({});
    ui::View::setAnimationDuration(loadingAnimationDuration);
    scrollView.setContentInset({ 0, 0, loadingInset, 0 });
    ui::View::commitAnimations();
}

} // namespace kit
