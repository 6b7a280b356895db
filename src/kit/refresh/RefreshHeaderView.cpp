#include "kit/refresh/RefreshHeaderView.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/time/Calendar.h"
#include "base/time/DateFormatter.h"
#include "kit/support/ScrollViewFieldAccessors.h"
#include "kit/support/ViewFieldAccessors.h"

namespace kit {

namespace {
    // "HH:mm" for a time earlier today, "MM-dd HH:mm" earlier this year, else the full date.
    std::string lastRefreshText(base::Date time, base::Date now)
    {
        auto calendar = base::Calendar::current();
        base::DateComponents then = calendar.components(time);
        base::DateComponents today = calendar.components(now);
        const char* pattern = "yyyy-MM-dd HH:mm";
        if (then.year == today.year && then.month == today.month && then.day == today.day)
            pattern = "HH:mm";
        else if (then.year == today.year)
            pattern = "MM-dd HH:mm";
        return base::DateFormatter(pattern).stringFromDate(time);
    }
} // namespace

std::shared_ptr<RefreshHeaderView> RefreshHeaderView::header()
{
    BASE_ASSERT_MAIN_THREAD();
    auto header = std::make_shared<RefreshHeaderView>(Private(), gfx::Rect {});
    header->setPullToRefreshText("下拉可以刷新");
    header->setReleaseToRefreshText("松开立即刷新");
    header->setRefreshingText("正在刷新数据...");
    header->finishMaking();
    return header;
}

RefreshHeaderView::RefreshHeaderView(Private, const gfx::Rect& frame)
    : RefreshBaseView(frame, RefreshDirection::Top)
{
}

std::shared_ptr<ui::Label> RefreshHeaderView::lastUpdateTimeLabel()
{
    if (auto label = m_lastUpdateTimeLabel.lock())
        return label;
    auto label = std::make_shared<ui::Label>();
    label->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    label->setFont(gfx::Font::boldSystem(12));
    label->setTextColor(statusLabel()->textColor());
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(gfx::TextAlignment::Center);
    m_lastUpdateTimeLabel = label;
    addSubview(label);
    // A stored value that is not a date (the defaults file is outside input) counts as no refresh yet.
    auto stored = RefreshEngine::storedLastUpdate(storageKey());
    if (stored && stored->isDate())
        setLastUpdateTime(*stored->date());
    return label;
}

void RefreshHeaderView::setLastUpdateTime(std::optional<base::Date> time)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lastUpdateTime = time;
    if (time)
        RefreshEngine::storeLastUpdate(storageKey(), base::Value(*time));
    updateTimeLabel();
}

void RefreshHeaderView::updateTimeLabel()
{
    if (!m_lastUpdateTime)
        return;
    std::string when = lastRefreshText(*m_lastUpdateTime, base::Date::now());
    lastUpdateTimeLabel()->setText(
        base::LocalizedFormat::format("%@ %@", { base::localized("last_refresh_time"), when }));
}

void RefreshHeaderView::layoutSubviews()
{
    RefreshBaseView::layoutSubviews();
    double width = bounds().width();
    double half = bounds().height() / 2;
    statusLabel()->setFrame({ 0, 0, width, half });
    lastUpdateTimeLabel()->setFrame({ 0, half, width, half });
}

void RefreshHeaderView::willMoveToSuperview(const std::shared_ptr<ui::View>& newSuperview)
{
    RefreshBaseView::willMoveToSuperview(newSuperview);
    setFrameY(*this, -frameHeight(*this));
}

double RefreshHeaderView::pullBeyondEdge(const ui::ScrollView& scrollView) const
{
    return engine().pullBeyond(scrollView.contentOffset(), scrollView.frame().size, {}, scrollViewOriginalInset());
}

void RefreshHeaderView::setState(int state)
{
    if (state == this->state())
        return;
    int old = this->state();
    RefreshBaseView::setState(state);
    auto scrollView = this->scrollView();
    if (state == Normal && old == Refreshing) {
        setLastUpdateTime(base::Date::now());
        if (scrollView)
            closeEdgeInset(*scrollView, insetTop(*scrollView) - frameHeight(*this));
    } else if (state == Refreshing && scrollView) {
        double top = scrollViewOriginalInset().top + frameHeight(*this);
        openEdgeInset(*scrollView, top, gfx::Point { offsetX(*scrollView), -top });
    }
}

} // namespace kit
