// kit scroll-view refresh functions: attach a RefreshHeaderView or RefreshFooterView to a scroll view (as a
// subview, which keeps it alive) and forward beginning, ending, hiding and texts to it. A scroll view has at
// most one of each: adding again reuses the attached view and only sets its target, block and date key.
// With nothing attached, the forwarding functions do nothing and the queries answer empty or false. Main
// thread.
//
//   kit::addHeaderWithTarget(*tableView, screen, &PhoneBookScreen::refresh, "table");
//   kit::setHeaderPullToRefreshText(*tableView, base::localized("down_to_refresh"));
//   kit::headerEndRefreshing(*tableView);   // when the reload is done
#pragma once

#include "kit/refresh/RefreshFooterView.h"
#include "kit/refresh/RefreshHeaderView.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kit {

// The attached views, or nullptr.
std::shared_ptr<RefreshHeaderView> header(const ui::ScrollView& scrollView);
std::shared_ptr<RefreshFooterView> footer(const ui::ScrollView& scrollView);

// The attached header, made and added first when there is none.
std::shared_ptr<RefreshHeaderView> attachedHeader(ui::ScrollView& scrollView);
std::shared_ptr<RefreshFooterView> attachedFooter(ui::ScrollView& scrollView);

void addHeaderWithCallback(
    ui::ScrollView& scrollView, std::function<void()> callback, std::optional<std::string> dateKey = std::nullopt);
template <typename Target>
void addHeaderWithTarget(ui::ScrollView& scrollView, const std::shared_ptr<Target>& target,
    void (Target::*action)(RefreshBaseView&), std::optional<std::string> dateKey = std::nullopt)
{
    auto view = attachedHeader(scrollView);
    view->setBeginRefreshingTarget(target, action);
    view->setDateKey(std::move(dateKey));
}
void removeHeader(ui::ScrollView& scrollView);
void headerBeginRefreshing(ui::ScrollView& scrollView);
void headerEndRefreshing(ui::ScrollView& scrollView);
void setHeaderHidden(ui::ScrollView& scrollView, bool hidden);
bool isHeaderHidden(const ui::ScrollView& scrollView);
bool isHeaderRefreshing(const ui::ScrollView& scrollView);

void addFooterWithCallback(ui::ScrollView& scrollView, std::function<void()> callback);
template <typename Target>
void addFooterWithTarget(
    ui::ScrollView& scrollView, const std::shared_ptr<Target>& target, void (Target::*action)(RefreshBaseView&))
{
    attachedFooter(scrollView)->setBeginRefreshingTarget(target, action);
}
void removeFooter(ui::ScrollView& scrollView);
void footerBeginRefreshing(ui::ScrollView& scrollView);
void footerEndRefreshing(ui::ScrollView& scrollView);
void setFooterHidden(ui::ScrollView& scrollView, bool hidden);
bool isFooterHidden(const ui::ScrollView& scrollView);
bool isFooterRefreshing(const ui::ScrollView& scrollView);

void setHeaderPullToRefreshText(ui::ScrollView& scrollView, std::string text);
[[nodiscard]] std::optional<std::string> headerPullToRefreshText(const ui::ScrollView& scrollView);
void setHeaderReleaseToRefreshText(ui::ScrollView& scrollView, std::string text);
[[nodiscard]] std::optional<std::string> headerReleaseToRefreshText(const ui::ScrollView& scrollView);
void setHeaderRefreshingText(ui::ScrollView& scrollView, std::string text);
[[nodiscard]] std::optional<std::string> headerRefreshingText(const ui::ScrollView& scrollView);
void setFooterPullToRefreshText(ui::ScrollView& scrollView, std::string text);
[[nodiscard]] std::optional<std::string> footerPullToRefreshText(const ui::ScrollView& scrollView);
void setFooterReleaseToRefreshText(ui::ScrollView& scrollView, std::string text);
[[nodiscard]] std::optional<std::string> footerReleaseToRefreshText(const ui::ScrollView& scrollView);
void setFooterRefreshingText(ui::ScrollView& scrollView, std::string text);
[[nodiscard]] std::optional<std::string> footerRefreshingText(const ui::ScrollView& scrollView);

} // namespace kit
