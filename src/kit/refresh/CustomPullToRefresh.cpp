#include "kit/refresh/CustomPullToRefresh.h"

#include "base/loop/MainThread.h"

#include <cmath>
#include <numbers>

namespace kit {

namespace {
    constexpr double arrowTurnDuration = 0.2;
    constexpr double arrowMargin = 10;
    constexpr const char* arrowImageName = "big_arrow.png";

    gfx::AffineTransform halfTurn() { return gfx::AffineTransform::makeRotation(std::numbers::pi); }

    std::shared_ptr<ui::ImageView> makeBackdrop(const gfx::Rect& frame)
    {
        auto backdrop = std::make_shared<ui::ImageView>(frame);
        backdrop->setBackgroundColor(gfx::Color::gray());
        return backdrop;
    }

    // The arrow centred across the backdrop (the half width floored in single precision), 10 points from its
    // bottom edge (the top backdrop: just above the content) or from its top edge.
    std::shared_ptr<ui::ImageView> makeArrow(const ui::View& backdrop, bool atBottomOfBackdrop)
    {
        auto arrow = std::make_shared<ui::ImageView>(gfx::Image::named(arrowImageName));
        gfx::Size size = arrow->frame().size;
        gfx::Size area = backdrop.frame().size;
        double x = std::floor(static_cast<float>((area.width - size.width) * 0.5));
        double y = atBottomOfBackdrop ? area.height - size.height - arrowMargin : arrowMargin;
        arrow->setFrame({ x, y, size.width, size.height });
        return arrow;
    }
} // namespace

std::shared_ptr<CustomPullToRefresh> CustomPullToRefresh::make(
    std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<CustomPullToRefreshDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    auto refresh = std::make_shared<CustomPullToRefresh>(Private(), std::move(scrollView), std::move(delegate));
    refresh->build();
    return refresh;
}

CustomPullToRefresh::CustomPullToRefresh(
    Private, std::shared_ptr<ui::ScrollView> scrollView, std::weak_ptr<CustomPullToRefreshDelegate> delegate)
    : m_scrollView(std::move(scrollView))
    , m_delegate(std::move(delegate))
{
    BASE_ASSERT_MAIN_THREAD();
}

CustomPullToRefresh::~CustomPullToRefresh() { m_scrollView->removeContentSizeObserver(m_sizeObserver); }

void CustomPullToRefresh::build()
{
    m_sizeObserver
        = m_scrollView->addContentSizeObserver(false, [weak = weak_from_this()](const ui::PropertyChange<gfx::Size>&) {
              if (auto self = weak.lock())
                  self->placeBottomBackdrop();
          });
    m_refreshController = PullToRefreshController::make(m_scrollView, weak_from_this());

    gfx::Size frame = m_scrollView->frame().size;
    m_backdropTop = makeBackdrop({ 0, -frame.height, frame.width, frame.height });
    m_scrollView->addSubview(m_backdropTop);
    m_backdropBottom = makeBackdrop({ 0, frame.height, frame.width, frame.height });
    m_backdropBottom->setAutoresizingMask(ui::AutoresizingMask::FlexibleTopMargin);
    m_scrollView->addSubview(m_backdropBottom);

    m_arrowTop = makeArrow(*m_backdropTop, true);
    m_backdropTop->addSubview(m_arrowTop);
    m_arrowBottom = makeArrow(*m_backdropBottom, false);
    m_arrowBottom->setTransform(halfTurn());
    m_backdropBottom->addSubview(m_arrowBottom);
}

void CustomPullToRefresh::placeBottomBackdrop()
{
    gfx::Size frame = m_scrollView->frame().size;
    double y = PullToRefreshController::sanitizedContentSize(*m_scrollView).height;
    m_backdropBottom->setFrame({ 0, y, frame.width, frame.height });
}

void CustomPullToRefresh::endRefresh()
{
    auto self = shared_from_this();
    m_refreshController->finishRefreshingDirection(RefreshDirection::Top, true);
    m_refreshController->finishRefreshingDirection(RefreshDirection::Bottom, true);
    m_backdropTop->stopAnimating();
    m_backdropBottom->stopAnimating();
    m_arrowBottom->setHidden(false);
    m_arrowBottom->setTransform(halfTurn());
    m_arrowTop->setHidden(false);
    m_arrowTop->setTransform(gfx::AffineTransform::identity());
}

void CustomPullToRefresh::startRefresh() { m_refreshController->startRefreshingDirection(RefreshDirection::Top); }

bool CustomPullToRefresh::pullToRefreshControllerCanRefreshInDirection(PullToRefreshController&, int direction)
{
    return (direction & ~RefreshDirection::Bottom) == RefreshDirection::Top;
}

double CustomPullToRefresh::pullToRefreshControllerRefreshableInsetForDirection(PullToRefreshController&, int)
{
    return refreshInset;
}

double CustomPullToRefresh::pullToRefreshControllerRefreshingInsetForDirection(PullToRefreshController&, int)
{
    return refreshInset;
}

void CustomPullToRefresh::turnArrows(bool engaged)
{
    ui::View::animateWithDuration(arrowTurnDuration, [&] {
        m_arrowTop->setTransform(engaged ? halfTurn() : gfx::AffineTransform::identity());
        m_arrowBottom->setTransform(engaged ? gfx::AffineTransform::identity() : halfTurn());
    });
}

void CustomPullToRefresh::pullToRefreshControllerCanEngageRefreshDirection(PullToRefreshController&, int)
{
    turnArrows(true);
}

void CustomPullToRefresh::pullToRefreshControllerDidDisengageRefreshDirection(PullToRefreshController&, int)
{
    turnArrows(false);
}

void CustomPullToRefresh::pullToRefreshControllerDidEngageRefreshDirection(PullToRefreshController&, int direction)
{
    m_arrowTop->setHidden(true);
    m_arrowBottom->setHidden(true);
    m_backdropTop->startAnimating();
    m_backdropBottom->startAnimating();
    if (auto delegate = m_delegate.lock())
        delegate->customPullToRefreshShouldRefresh(*this, direction);
}

} // namespace kit
