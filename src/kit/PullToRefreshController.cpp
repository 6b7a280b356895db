#include "kit/PullToRefreshController.h"

#include "base/MainThread.h"

#include <algorithm>

namespace kit {

namespace {
    constexpr double programmaticAnimationDuration = 0.2;

    int bitOf(int direction)
    {
        return direction >= RefreshDirection::Top && direction <= RefreshDirection::Right ? 1 << direction : 0;
    }

    // Runs `changes` inside a 0.2 s animation block when `animated`, else at once.
    template <typename Changes> void maybeAnimated(bool animated, Changes changes)
    {
        if (animated) {
            ui::View::beginAnimations({});
            ui::View::setAnimationDuration(programmaticAnimationDuration);
        }
        changes();
        if (animated)
            ui::View::commitAnimations();
    }
} // namespace

std::shared_ptr<PullToRefreshController> PullToRefreshController::make(
    std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<PullToRefreshDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    auto controller = std::make_shared<PullToRefreshController>(Private(), std::move(scrollView), std::move(delegate));
    controller->observeOffset();
    return controller;
}

PullToRefreshController::PullToRefreshController(
    Private, std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<PullToRefreshDelegate> delegate)
    : m_scrollView(std::move(scrollView))
    , m_delegate(std::move(delegate))
{
    BASE_ASSERT_MAIN_THREAD();
}

PullToRefreshController::~PullToRefreshController() { m_scrollView->removeContentOffsetObserver(m_offsetObserver); }

gfx::Size PullToRefreshController::sanitizedContentSize(const ui::ScrollView& scrollView)
{
    gfx::Size content = scrollView.contentSize();
    gfx::Size frame = scrollView.frame().size;
    if (content.width * content.height < frame.width * frame.height)
        return frame;
    return content;
}

void PullToRefreshController::observeOffset()
{
    m_offsetObserver = m_scrollView->addContentOffsetObserver(
        true, [weak = weak_from_this()](const ui::PropertyChange<gfx::Point>& change) {
            if (auto self = weak.lock())
                self->contentOffsetChanged(change);
        });
}

void PullToRefreshController::contentOffsetChanged(const ui::PropertyChange<gfx::Point>& change)
{
    for (int direction = RefreshDirection::Top; direction <= RefreshDirection::Right; ++direction) {
        auto delegate = this->delegate();
        if (delegate && delegate->pullToRefreshControllerCanRefreshInDirection(*this, direction))
            checkOffsetsForDirection(direction, change);
    }
    m_wasDragging = m_scrollView->isDragging();
}

void PullToRefreshController::checkOffsetsForDirection(int direction, const ui::PropertyChange<gfx::Point>& change)
{
    auto delegate = this->delegate();
    if (!delegate)
        return;
    ui::ScrollView& scrollView = *m_scrollView;
    gfx::Point old = change.oldValue;
    gfx::EdgeInsets engageInset = scrollView.contentInset();
    double refreshable = delegate->pullToRefreshControllerRefreshableInsetForDirection(*this, direction);
    double refreshing = delegate->pullToRefreshControllerRefreshingInsetForDirection(*this, direction);
    gfx::Size content = sanitizedContentSize(scrollView);
    gfx::Size frame = scrollView.frame().size;

    bool pastThreshold = false;
    switch (direction) {
    case RefreshDirection::Top:
        pastThreshold = old.y < -refreshable;
        engageInset.top = refreshing;
        break;
    case RefreshDirection::Left:
        pastThreshold = old.x < -refreshable;
        engageInset.left = refreshing;
        break;
    case RefreshDirection::Bottom:
        pastThreshold = old.y + frame.height - content.height > refreshable;
        engageInset.bottom = refreshing;
        break;
    case RefreshDirection::Right:
        pastThreshold = old.x + frame.width - content.width > refreshable;
        engageInset.right = refreshing;
        break;
    default:
        break;
    }
    int bit = bitOf(direction);
    if (m_refreshingDirections & bit)
        return;

    if (!pastThreshold) {
        if (m_refreshableDirections & bit) {
            m_refreshableDirections &= ~bit;
            delegate->pullToRefreshControllerDidDisengageRefreshDirection(*this, direction);
        }
        return;
    }
    bool released = m_wasDragging != scrollView.isDragging() && scrollView.isDecelerating() && change.isPrior;
    if (released && (m_refreshableDirections & bit)) {
        setRefreshingDirections(m_refreshingDirections | bit);
        m_refreshableDirections &= ~bit;
        scrollView.setContentInset(engageInset);
        delegate->pullToRefreshControllerDidEngageRefreshDirection(*this, direction);
        return;
    }
    if (scrollView.isDragging() && !scrollView.isDecelerating() && !(m_refreshableDirections & bit)) {
        m_refreshableDirections |= bit;
        delegate->pullToRefreshControllerCanEngageRefreshDirection(*this, direction);
    }
}

void PullToRefreshController::startRefreshingDirection(int direction, bool animated)
{
    auto self = shared_from_this();
    auto delegate = this->delegate();
    gfx::EdgeInsets inset = m_scrollView->contentInset();
    double refreshing = delegate ? delegate->pullToRefreshControllerRefreshingInsetForDirection(*this, direction) : 0;
    gfx::Size content = sanitizedContentSize(*m_scrollView);
    gfx::Size frame = m_scrollView->frame().size;
    gfx::Point offset;
    // The far edges rest with the end of the content plus the inset at the end of the frame (never above the
    // top), so that the refresh area shows there.
    switch (direction) {
    case RefreshDirection::Top:
        inset.top = refreshing;
        offset = { 0, -refreshing };
        break;
    case RefreshDirection::Left:
        inset.left = refreshing;
        offset = { -refreshing, 0 };
        break;
    case RefreshDirection::Bottom:
        inset.bottom = refreshing;
        offset = { 0, std::max(content.height + refreshing - frame.height, -inset.top) };
        break;
    case RefreshDirection::Right:
        inset.right = refreshing;
        offset = { std::max(content.width + refreshing - frame.width, -inset.left), 0 };
        break;
    default:
        break;
    }
    maybeAnimated(animated, [&] {
        m_scrollView->setContentInset(inset);
        m_scrollView->setContentOffset(offset);
    });
    int bit = bitOf(direction);
    setRefreshingDirections(m_refreshingDirections | bit);
    m_refreshableDirections &= ~bit;
    if (delegate)
        delegate->pullToRefreshControllerDidEngageRefreshDirection(*this, direction);
}

void PullToRefreshController::finishRefreshingDirection(int direction, bool animated)
{
    gfx::EdgeInsets inset = m_scrollView->contentInset();
    switch (direction) {
    case RefreshDirection::Top:
        inset.top = 0;
        break;
    case RefreshDirection::Left:
        inset.left = 0;
        break;
    case RefreshDirection::Bottom:
        inset.bottom = 0;
        break;
    case RefreshDirection::Right:
        inset.right = 0;
        break;
    default:
        break;
    }
    maybeAnimated(animated, [&] { m_scrollView->setContentInset(inset); });
    setRefreshingDirections(m_refreshingDirections & ~bitOf(direction));
}

} // namespace kit
