#include "kit/RefreshHeaderView.h"

#include "base/Calendar.h"
#include "base/DateFormatter.h"
#include "base/Localization.h"
#include "base/LocalizedFormat.h"
#include "base/MainThread.h"
#include "base/UserDefaults.h"
#include "kit/ScrollViewFieldAccessors.h"
#include "kit/ViewFieldAccessors.h"

#include <numbers>

namespace kit {

namespace {
    constexpr double arrowTurnDuration = 0.25;
    constexpr double insetOpenDuration = 0.25;
    constexpr double insetCloseDuration = 0.4;

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
    : RefreshBaseView(frame)
{
    BASE_ASSERT_MAIN_THREAD();
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
    auto stored = base::UserDefaults::standard().objectForKey(storageKey());
    if (stored && stored->isDate())
        setLastUpdateTime(*stored->date());
    return label;
}

void RefreshHeaderView::setLastUpdateTime(std::optional<base::Date> time)
{
    m_lastUpdateTime = time;
    auto& defaults = base::UserDefaults::standard();
    if (time) {
        defaults.setObject(base::Value(*time), storageKey());
        (void)defaults.synchronize(); // a failed write is logged and tried again at the next save or at exit
    }
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

void RefreshHeaderView::scrollViewContentOffsetDidChange()
{
    if (isActive() && state() != Refreshing)
        adjustStateWithContentOffset();
}

void RefreshHeaderView::adjustStateWithContentOffset()
{
    auto scrollView = this->scrollView();
    if (!scrollView)
        return;
    double y = offsetY(*scrollView);
    double restY = -scrollViewOriginalInset().top;
    if (y >= restY)
        return;
    if (scrollView->isDragging()) {
        double threshold = restY - frameHeight(*this);
        if (state() == Normal && y < threshold)
            setState(Pulling);
        else if (state() == Pulling && y >= threshold)
            setState(Normal);
    } else if (state() == Pulling) {
        setState(Refreshing);
    }
}

void RefreshHeaderView::setState(int state)
{
    if (state == this->state())
        return;
    int old = this->state();
    RefreshBaseView::setState(state);
    auto arrow = arrowImage();
    auto scrollView = this->scrollView();
    switch (state) {
    case Pulling:
        ui::View::animateWithDuration(
            arrowTurnDuration, [&] { arrow->setTransform(gfx::AffineTransform::makeRotation(std::numbers::pi)); });
        break;
    case Normal:
        if (old != Refreshing) {
            ui::View::animateWithDuration(
                arrowTurnDuration, [&] { arrow->setTransform(gfx::AffineTransform::identity()); });
            break;
        }
        arrow->setTransform(gfx::AffineTransform::identity());
        setLastUpdateTime(base::Date::now());
        if (scrollView) {
            ui::View::animateWithDuration(
                insetCloseDuration, [&] { setInsetTop(*scrollView, insetTop(*scrollView) - frameHeight(*this)); });
        }
        break;
    case Refreshing:
        if (scrollView) {
            ui::View::animateWithDuration(insetOpenDuration, [&] {
                double top = scrollViewOriginalInset().top + frameHeight(*this);
                setInsetTop(*scrollView, top);
                setOffsetY(*scrollView, -top);
            });
        }
        break;
    default:
        break;
    }
}

} // namespace kit
