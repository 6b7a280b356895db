#include "kit/refresh/RefreshBaseView.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "kit/support/ViewFieldAccessors.h"

#include <numbers>

namespace kit {

namespace {
    constexpr double arrowOffsetFromCentre = 100;
    constexpr double arrowTurnDuration = 0.25;
    constexpr double insetOpenDuration = 0.25;
    constexpr double insetCloseDuration = 0.4;
    constexpr double spinnerFadeDuration = 0.4 * 0.6;
    constexpr base::Duration endRefreshingDelay { 0.3 };
    constexpr base::Duration restoreArrowDelay { 0.4 };
    constexpr gfx::Color textColor { 150 / 255.0, 150 / 255.0, 150 / 255.0, 1 };

    using Phase = RefreshEngine::Phase;

    constexpr RefreshEngine::StateNumbers stateNumbers { RefreshBaseView::Pulling, RefreshBaseView::Normal,
        RefreshBaseView::Refreshing };
} // namespace

RefreshBaseView::RefreshBaseView(const gfx::Rect& frame, int direction)
    : ui::View({ frame.origin.x, frame.origin.y, frame.width(), height })
    , m_engine(direction)
{
    BASE_ASSERT_MAIN_THREAD();
    // Not made yet: the factories put it into the normal state.
    m_engine.setNumberedState(0, stateNumbers);
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    setBackgroundColor(gfx::Color::clear());
}

RefreshBaseView::~RefreshBaseView() { stopObservingScrollView(); }

void RefreshBaseView::finishMaking() { setState(Normal); }

int RefreshBaseView::state() const { return m_engine.numberedState(stateNumbers); }

gfx::AffineTransform RefreshBaseView::arrowTurn(bool pulling) const
{
    bool pointsDown = pulling == (m_engine.direction() == RefreshDirection::Top);
    return pointsDown ? gfx::AffineTransform::makeRotation(std::numbers::pi) : gfx::AffineTransform::identity();
}

void RefreshBaseView::scrollViewContentOffsetDidChange()
{
    auto scrollView = this->scrollView();
    if (!scrollView || !isActive() || m_engine.isRefreshing())
        return;
    double pull = pullBeyondEdge(*scrollView);
    if (pull <= 0)
        return;
    if (scrollView->isDragging()) {
        if (auto next = m_engine.dragStep(pull, frameHeight(*this)))
            setState(*next == Phase::Pulling ? Pulling : Normal);
    } else if (state() == Pulling) {
        setState(Refreshing);
    }
}

void RefreshBaseView::openEdgeInset(ui::ScrollView& scrollView, double side, std::optional<gfx::Point> offset)
{
    RefreshEngine::moveInset(scrollView, m_engine.withSide(scrollView.contentInset(), side), insetOpenDuration, offset);
}

void RefreshBaseView::closeEdgeInset(ui::ScrollView& scrollView, double side)
{
    RefreshEngine::moveInset(scrollView, m_engine.withSide(scrollView.contentInset(), side), insetCloseDuration);
}

std::shared_ptr<ui::Label> RefreshBaseView::statusLabel()
{
    if (auto label = m_statusLabel.lock())
        return label;
    auto label = std::make_shared<ui::Label>();
    label->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    label->setFont(gfx::Font::boldSystem(13));
    label->setTextColor(textColor);
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(gfx::TextAlignment::Center);
    m_statusLabel = label;
    addSubview(label);
    return label;
}

std::shared_ptr<ui::ImageView> RefreshBaseView::arrowImage()
{
    if (auto arrow = m_arrowImage.lock())
        return arrow;
    auto arrow = std::make_shared<ui::ImageView>(gfx::Image::named(arrowImageName));
    arrow->setAutoresizingMask(ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleRightMargin);
    m_arrowImage = arrow;
    addSubview(arrow);
    return arrow;
}

std::shared_ptr<ui::ActivityIndicatorView> RefreshBaseView::activityView()
{
    if (auto spinner = m_activityView.lock())
        return spinner;
    auto arrow = arrowImage();
    auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
    spinner->setBounds(arrow->bounds());
    spinner->setAutoresizingMask(arrow->autoresizingMask());
    m_activityView = spinner;
    addSubview(spinner);
    return spinner;
}

void RefreshBaseView::layoutSubviews()
{
    gfx::Point centre { bounds().width() * 0.5 - arrowOffsetFromCentre, bounds().height() * 0.5 };
    arrowImage()->setCenter(centre);
    activityView()->setCenter(centre);
}

void RefreshBaseView::stopObservingScrollView()
{
    if (auto old = m_scrollView.lock())
        old->removeContentOffsetObserver(m_offsetObserver);
    m_offsetObserver = 0;
}

void RefreshBaseView::willMoveToSuperview(const std::shared_ptr<ui::View>& newSuperview)
{
    ui::View::willMoveToSuperview(newSuperview);
    stopObservingScrollView();
    auto scrollView = std::dynamic_pointer_cast<ui::ScrollView>(newSuperview);
    m_scrollView = scrollView;
    if (!scrollView)
        return;
    m_offsetObserver = scrollView->addContentOffsetObserver(
        false, [weak = ui::weakFrom(this)](const ui::PropertyChange<gfx::Point>&) {
            if (auto self = weak.lock())
                self->scrollViewContentOffsetDidChange();
        });
    setFrameWidth(*this, frameWidth(*scrollView));
    setFrameX(*this, 0);
    m_scrollViewOriginalInset = scrollView->contentInset();
}

void RefreshBaseView::drawRect(const gfx::Rect&)
{
    if (state() == WillRefresh)
        setState(Refreshing);
}

bool RefreshBaseView::isActive() const { return isUserInteractionEnabled() && alpha() > 0.01 && !isHidden(); }

void RefreshBaseView::beginRefreshing()
{
    if (isRefreshing()) {
        callBeginRefreshing();
        return;
    }
    if (window()) {
        setState(Refreshing);
        return;
    }
    m_engine.setNumberedState(WillRefresh, stateNumbers);
    setNeedsDisplay();
}

void RefreshBaseView::endRefreshing()
{
    base::RunLoop::main().performAfter(
        endRefreshingDelay, [self = ui::sharedFrom(this)] { self->setState(Normal); }, this);
}

void RefreshBaseView::callBeginRefreshing()
{
    auto self = ui::sharedFrom(this);
    if (auto target = m_beginRefreshingTarget.lock(); target && m_beginRefreshingAction)
        m_beginRefreshingAction(target.get(), *this);
    if (m_beginRefreshingCallback)
        m_beginRefreshingCallback();
}

void RefreshBaseView::setState(int state)
{
    auto scrollView = this->scrollView();
    if (!isRefreshing() && scrollView)
        m_scrollViewOriginalInset = scrollView->contentInset();
    if (state == this->state())
        return;
    int old = this->state();
    m_engine.setNumberedState(state, stateNumbers);
    auto arrow = arrowImage();

    if (state == Pulling) {
        ui::View::animateWithDuration(arrowTurnDuration, [&] { arrow->setTransform(arrowTurn(true)); });
    } else if (state == Refreshing) {
        activityView()->startAnimating();
        arrowImage()->setHidden(true);
        callBeginRefreshing();
    } else if (state == Normal && old == Refreshing) {
        arrow->setTransform(arrowTurn(false));
        auto spinner = activityView();
        ui::View::animateWithDuration(
            spinnerFadeDuration, [&] { spinner->setAlpha(0); },
            [spinner](bool) {
                spinner->stopAnimating();
                spinner->setAlpha(1);
            });
        base::RunLoop::main().performAfter(
            restoreArrowDelay,
            [self = ui::sharedFrom(this)] {
                self->arrowImage()->setHidden(false);
                self->activityView()->stopAnimating();
                self->settingLabelText();
            },
            this);
        return;
    } else if (state == Normal) {
        ui::View::animateWithDuration(arrowTurnDuration, [&] { arrow->setTransform(arrowTurn(false)); });
        arrow->setHidden(false);
        activityView()->stopAnimating();
    }
    settingLabelText();
}

void RefreshBaseView::settingLabelText()
{
    switch (state()) {
    case Pulling:
        statusLabel()->setText(m_releaseToRefreshText);
        break;
    case Normal:
        statusLabel()->setText(m_pullToRefreshText);
        break;
    case Refreshing:
        statusLabel()->setText(m_refreshingText);
        break;
    default:
        break;
    }
}

void RefreshBaseView::setPullToRefreshText(std::string text)
{
    m_pullToRefreshText = std::move(text);
    settingLabelText();
}

void RefreshBaseView::setReleaseToRefreshText(std::string text)
{
    m_releaseToRefreshText = std::move(text);
    settingLabelText();
}

void RefreshBaseView::setRefreshingText(std::string text)
{
    m_refreshingText = std::move(text);
    settingLabelText();
}

} // namespace kit
