#include "kit/refresh/PullToRefreshController.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace kit {

namespace {
    constexpr double programmaticAnimationDuration = 0.2;

    using Phase = RefreshEngine::Phase;

    // Where a refresh started by program leaves the content: the far edges rest with the end of the content
    // plus the inset at the end of the frame (never above the top), so that the refresh area shows there.
    gfx::Point refreshingOffset(
        int direction, const gfx::EdgeInsets& inset, double refreshing, gfx::Size content, gfx::Size frame)
    {
        switch (direction) {
        case RefreshDirection::Top:
            return { 0, -refreshing };
        case RefreshDirection::Left:
            return { -refreshing, 0 };
        case RefreshDirection::Bottom:
            return { 0, std::max(content.height + refreshing - frame.height, -inset.top) };
        case RefreshDirection::Right:
            return { std::max(content.width + refreshing - frame.width, -inset.left), 0 };
        default:
            return {};
        }
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

RefreshEngine* PullToRefreshController::edge(int direction)
{
    return direction >= RefreshDirection::Top && direction <= RefreshDirection::Right ? &m_edges[direction] : nullptr;
}

int PullToRefreshController::directionsIn(Phase phase) const
{
    int directions = 0;
    for (const RefreshEngine& edge : m_edges) {
        if (edge.phase() == phase)
            directions |= 1 << edge.direction();
    }
    return directions;
}

void PullToRefreshController::setRefreshableDirections(int directions)
{
    for (RefreshEngine& edge : m_edges) {
        bool engaged = directions & (1 << edge.direction());
        if (engaged && !edge.isRefreshing())
            edge.moveTo(Phase::Pulling);
        else if (!engaged && edge.phase() == Phase::Pulling)
            edge.moveTo(Phase::Normal);
    }
}

void PullToRefreshController::setRefreshingDirections(int directions)
{
    for (RefreshEngine& edge : m_edges) {
        if (directions & (1 << edge.direction()))
            edge.moveTo(Phase::Refreshing);
        else if (edge.isRefreshing())
            edge.moveTo(Phase::Normal);
    }
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
    RefreshEngine* edge = this->edge(direction);
    if (!delegate || !edge)
        return;
    ui::ScrollView& scrollView = *m_scrollView;
    double refreshable = delegate->pullToRefreshControllerRefreshableInsetForDirection(*this, direction);
    double refreshing = delegate->pullToRefreshControllerRefreshingInsetForDirection(*this, direction);
    if (edge->isRefreshing())
        return;
    // The offset before the change decides, so that the release is judged where the finger left the content.
    double pull = edge->pullBeyond(change.oldValue, scrollView.frame().size, sanitizedContentSize(scrollView), {});
    bool released = m_wasDragging != scrollView.isDragging() && scrollView.isDecelerating() && change.isPrior;
    if (released && edge->phase() == Phase::Pulling && pull > refreshable) {
        edge->moveTo(Phase::Refreshing);
        scrollView.setContentInset(edge->withSide(scrollView.contentInset(), refreshing));
        delegate->pullToRefreshControllerDidEngageRefreshDirection(*this, direction);
        return;
    }
    bool changed = false;
    if (scrollView.isDragging() && !scrollView.isDecelerating()) {
        auto next = edge->dragStep(pull, refreshable);
        changed = next && edge->moveTo(*next);
    } else if (pull <= refreshable && edge->phase() == Phase::Pulling)
        changed = edge->moveTo(Phase::Normal);
    if (!changed)
        return;
    if (edge->phase() == Phase::Pulling)
        delegate->pullToRefreshControllerCanEngageRefreshDirection(*this, direction);
    else
        delegate->pullToRefreshControllerDidDisengageRefreshDirection(*this, direction);
}

void PullToRefreshController::startRefreshingDirection(int direction, bool animated)
{
    auto self = shared_from_this();
    auto delegate = this->delegate();
    RefreshEngine* edge = this->edge(direction);
    double refreshing = delegate ? delegate->pullToRefreshControllerRefreshingInsetForDirection(*this, direction) : 0;
    gfx::EdgeInsets inset = m_scrollView->contentInset();
    if (edge)
        inset = edge->withSide(inset, refreshing);
    gfx::Point offset = refreshingOffset(
        direction, inset, refreshing, sanitizedContentSize(*m_scrollView), m_scrollView->frame().size);
    RefreshEngine::moveInset(*m_scrollView, inset, animated ? programmaticAnimationDuration : 0, offset);
    if (edge)
        edge->moveTo(Phase::Refreshing);
    if (delegate)
        delegate->pullToRefreshControllerDidEngageRefreshDirection(*this, direction);
}

void PullToRefreshController::finishRefreshingDirection(int direction, bool animated)
{
    RefreshEngine* edge = this->edge(direction);
    if (!edge)
        return;
    RefreshEngine::moveInset(
        *m_scrollView, edge->withSide(m_scrollView->contentInset(), 0), animated ? programmaticAnimationDuration : 0);
    if (edge->isRefreshing())
        edge->moveTo(Phase::Normal);
}

} // namespace kit
