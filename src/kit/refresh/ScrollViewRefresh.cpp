#include "kit/refresh/ScrollViewRefresh.h"

namespace kit {

namespace {
    template <typename RefreshView> std::shared_ptr<RefreshView> attached(const ui::ScrollView& scrollView)
    {
        for (const auto& subview : scrollView.subviews()) {
            if (auto view = std::dynamic_pointer_cast<RefreshView>(subview))
                return view;
        }
        return nullptr;
    }

    template <typename RefreshView, typename Apply> void withView(const ui::ScrollView& scrollView, Apply apply)
    {
        if (auto view = attached<RefreshView>(scrollView))
            apply(*view);
    }

    template <typename RefreshView>
    std::optional<std::string> textOf(
        const ui::ScrollView& scrollView, const std::string& (RefreshBaseView::*text)() const)
    {
        auto view = attached<RefreshView>(scrollView);
        return view ? std::optional(((*view).*text)()) : std::nullopt;
    }
} // namespace

std::shared_ptr<RefreshHeaderView> header(const ui::ScrollView& scrollView)
{
    return attached<RefreshHeaderView>(scrollView);
}

std::shared_ptr<RefreshFooterView> footer(const ui::ScrollView& scrollView)
{
    return attached<RefreshFooterView>(scrollView);
}

std::shared_ptr<RefreshHeaderView> attachedHeader(ui::ScrollView& scrollView)
{
    if (auto view = header(scrollView))
        return view;
    auto view = RefreshHeaderView::header();
    scrollView.addSubview(view);
    return view;
}

std::shared_ptr<RefreshFooterView> attachedFooter(ui::ScrollView& scrollView)
{
    if (auto view = footer(scrollView))
        return view;
    auto view = RefreshFooterView::footer();
    scrollView.addSubview(view);
    return view;
}

void addHeaderWithCallback(
    ui::ScrollView& scrollView, std::function<void()> callback, std::optional<std::string> dateKey)
{
    auto view = attachedHeader(scrollView);
    view->setBeginRefreshingCallback(std::move(callback));
    view->setDateKey(std::move(dateKey));
}

void removeHeader(ui::ScrollView& scrollView)
{
    withView<RefreshHeaderView>(scrollView, [](RefreshHeaderView& view) { view.removeFromSuperview(); });
}

void headerBeginRefreshing(ui::ScrollView& scrollView)
{
    withView<RefreshHeaderView>(scrollView, [](RefreshHeaderView& view) { view.beginRefreshing(); });
}

void headerEndRefreshing(ui::ScrollView& scrollView)
{
    withView<RefreshHeaderView>(scrollView, [](RefreshHeaderView& view) { view.endRefreshing(); });
}

void setHeaderHidden(ui::ScrollView& scrollView, bool hidden)
{
    withView<RefreshHeaderView>(scrollView, [hidden](RefreshHeaderView& view) { view.setHidden(hidden); });
}

bool isHeaderHidden(const ui::ScrollView& scrollView)
{
    auto view = header(scrollView);
    return view && view->isHidden();
}

bool isHeaderRefreshing(const ui::ScrollView& scrollView)
{
    auto view = header(scrollView);
    return view && view->isRefreshing();
}

void addFooterWithCallback(ui::ScrollView& scrollView, std::function<void()> callback)
{
    attachedFooter(scrollView)->setBeginRefreshingCallback(std::move(callback));
}

void removeFooter(ui::ScrollView& scrollView)
{
    withView<RefreshFooterView>(scrollView, [](RefreshFooterView& view) { view.removeFromSuperview(); });
}

void footerBeginRefreshing(ui::ScrollView& scrollView)
{
    withView<RefreshFooterView>(scrollView, [](RefreshFooterView& view) { view.beginRefreshing(); });
}

void footerEndRefreshing(ui::ScrollView& scrollView)
{
    withView<RefreshFooterView>(scrollView, [](RefreshFooterView& view) { view.endRefreshing(); });
}

void setFooterHidden(ui::ScrollView& scrollView, bool hidden)
{
    withView<RefreshFooterView>(scrollView, [hidden](RefreshFooterView& view) { view.setHidden(hidden); });
}

bool isFooterHidden(const ui::ScrollView& scrollView)
{
    auto view = footer(scrollView);
    return view && view->isHidden();
}

bool isFooterRefreshing(const ui::ScrollView& scrollView)
{
    auto view = footer(scrollView);
    return view && view->isRefreshing();
}

void setHeaderPullToRefreshText(ui::ScrollView& scrollView, std::string text)
{
    withView<RefreshHeaderView>(
        scrollView, [&text](RefreshHeaderView& view) { view.setPullToRefreshText(std::move(text)); });
}

std::optional<std::string> headerPullToRefreshText(const ui::ScrollView& scrollView)
{
    return textOf<RefreshHeaderView>(scrollView, &RefreshBaseView::pullToRefreshText);
}

void setHeaderReleaseToRefreshText(ui::ScrollView& scrollView, std::string text)
{
    withView<RefreshHeaderView>(
        scrollView, [&text](RefreshHeaderView& view) { view.setReleaseToRefreshText(std::move(text)); });
}

std::optional<std::string> headerReleaseToRefreshText(const ui::ScrollView& scrollView)
{
    return textOf<RefreshHeaderView>(scrollView, &RefreshBaseView::releaseToRefreshText);
}

void setHeaderRefreshingText(ui::ScrollView& scrollView, std::string text)
{
    withView<RefreshHeaderView>(
        scrollView, [&text](RefreshHeaderView& view) { view.setRefreshingText(std::move(text)); });
}

std::optional<std::string> headerRefreshingText(const ui::ScrollView& scrollView)
{
    return textOf<RefreshHeaderView>(scrollView, &RefreshBaseView::refreshingText);
}

void setFooterPullToRefreshText(ui::ScrollView& scrollView, std::string text)
{
    withView<RefreshFooterView>(
        scrollView, [&text](RefreshFooterView& view) { view.setPullToRefreshText(std::move(text)); });
}

std::optional<std::string> footerPullToRefreshText(const ui::ScrollView& scrollView)
{
    return textOf<RefreshFooterView>(scrollView, &RefreshBaseView::pullToRefreshText);
}

void setFooterReleaseToRefreshText(ui::ScrollView& scrollView, std::string text)
{
    withView<RefreshFooterView>(
        scrollView, [&text](RefreshFooterView& view) { view.setReleaseToRefreshText(std::move(text)); });
}

std::optional<std::string> footerReleaseToRefreshText(const ui::ScrollView& scrollView)
{
    return textOf<RefreshFooterView>(scrollView, &RefreshBaseView::releaseToRefreshText);
}

void setFooterRefreshingText(ui::ScrollView& scrollView, std::string text)
{
    withView<RefreshFooterView>(
        scrollView, [&text](RefreshFooterView& view) { view.setRefreshingText(std::move(text)); });
}

std::optional<std::string> footerRefreshingText(const ui::ScrollView& scrollView)
{
    return textOf<RefreshFooterView>(scrollView, &RefreshBaseView::refreshingText);
}

} // namespace kit
