#include "kit/refresh/RefreshEngine.h"

#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "ui/scroll/ScrollView.h"

namespace kit {

bool RefreshEngine::moveTo(Phase phase)
{
    BASE_ASSERT_MAIN_THREAD();
    if (phase == m_phase)
        return false;
    m_phase = phase;
    return true;
}

int RefreshEngine::numberedState(const StateNumbers& numbers) const
{
    if (m_lookState)
        return *m_lookState;
    switch (m_phase) {
    case Phase::Pulling:
        return numbers.pulling;
    case Phase::Refreshing:
        return numbers.refreshing;
    default:
        return numbers.normal;
    }
}

void RefreshEngine::setNumberedState(int state, const StateNumbers& numbers)
{
    BASE_ASSERT_MAIN_THREAD();
    m_lookState.reset();
    if (state == numbers.pulling)
        m_phase = Phase::Pulling;
    else if (state == numbers.normal)
        m_phase = Phase::Normal;
    else if (state == numbers.refreshing)
        m_phase = Phase::Refreshing;
    else
        m_lookState = state;
}

double RefreshEngine::pullBeyond(
    gfx::Point offset, gfx::Size frame, gfx::Size content, const gfx::EdgeInsets& rest) const
{
    switch (m_direction) {
    case RefreshDirection::Top:
        return -(offset.y + rest.top);
    case RefreshDirection::Left:
        return -(offset.x + rest.left);
    case RefreshDirection::Bottom:
        return offset.y + frame.height - rest.bottom - content.height;
    case RefreshDirection::Right:
        return offset.x + frame.width - rest.right - content.width;
    default:
        return 0;
    }
}

bool RefreshEngine::isBeyond(double pull, double threshold, ThresholdItself itself)
{
    return pull > threshold || (itself == ThresholdItself::Beyond && pull == threshold);
}

std::optional<RefreshEngine::Phase> RefreshEngine::dragStep(double pull, double threshold, ThresholdItself itself) const
{
    if (m_lookState)
        return std::nullopt;
    if (m_phase == Phase::Normal && pull > threshold)
        return Phase::Pulling;
    if (m_phase == Phase::Pulling && !isBeyond(pull, threshold, itself))
        return Phase::Normal;
    return std::nullopt;
}

double RefreshEngine::side(const gfx::EdgeInsets& inset) const
{
    switch (m_direction) {
    case RefreshDirection::Top:
        return inset.top;
    case RefreshDirection::Left:
        return inset.left;
    case RefreshDirection::Bottom:
        return inset.bottom;
    case RefreshDirection::Right:
        return inset.right;
    default:
        return 0;
    }
}

gfx::EdgeInsets RefreshEngine::withSide(gfx::EdgeInsets inset, double value) const
{
    switch (m_direction) {
    case RefreshDirection::Top:
        inset.top = value;
        break;
    case RefreshDirection::Left:
        inset.left = value;
        break;
    case RefreshDirection::Bottom:
        inset.bottom = value;
        break;
    case RefreshDirection::Right:
        inset.right = value;
        break;
    default:
        break;
    }
    return inset;
}

void RefreshEngine::moveInset(
    ui::ScrollView& scrollView, const gfx::EdgeInsets& inset, double duration, std::optional<gfx::Point> offset)
{
    auto apply = [&] {
        scrollView.setContentInset(inset);
        if (offset)
            scrollView.setContentOffset(*offset);
    };
    if (duration > 0)
        ui::View::animateWithDuration(duration, apply);
    else
        apply();
}

std::optional<base::Value> RefreshEngine::storedLastUpdate(const std::string& key)
{
    return base::UserDefaults::standard().objectForKey(key);
}

void RefreshEngine::storeLastUpdate(const std::string& key, base::Value value)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject(std::move(value), key);
    // synchronize() logs a failed write; the date shows for this run either way.
    (void)defaults.synchronize();
}

} // namespace kit
