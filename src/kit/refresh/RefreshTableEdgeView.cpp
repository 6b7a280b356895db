#include "kit/refresh/RefreshTableEdgeView.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "gfx/images/Image.h"
#include "ui/animation/Transaction.h"
#include "ui/view/Screen.h"

namespace kit {

namespace {
    constexpr double arrowTurnDuration = 0.18f;
    constexpr double closeDuration = 0.3;
    constexpr double loadingAnimationDuration = 0.2;
    constexpr gfx::Color edgeBackgroundColor { 226 / 255.0, 231 / 255.0, 237 / 255.0, 1 };

    std::shared_ptr<ui::Label> makeLabel(const gfx::Rect& frame, const gfx::Font& font, gfx::Color textColor)
    {
        auto label = std::make_shared<ui::Label>(frame);
        label->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        label->setFont(font);
        label->setTextColor(textColor);
        label->setShadowColor(gfx::Color::fromWhite(0.9f, 1));
        label->setShadowOffset({ 0, 1 });
        label->setBackgroundColor(gfx::Color::clear());
        label->setTextAlignment(gfx::TextAlignment::Center);
        return label;
    }

    using Phase = RefreshEngine::Phase;

    constexpr RefreshEngine::StateNumbers stateNumbers { RefreshTableEdgeView::Pulling, RefreshTableEdgeView::Normal,
        RefreshTableEdgeView::Loading };
} // namespace

RefreshTableEdgeView::RefreshTableEdgeView(const gfx::Rect& frame, const std::optional<std::string>& key, int direction)
    : ui::View(frame)
    , m_engine(direction)
    , m_key(key.value_or(defaultKey))
{
}

int RefreshTableEdgeView::state() const { return m_engine.numberedState(stateNumbers); }

void RefreshTableEdgeView::showState(int state, const Look& look)
{
    BASE_ASSERT_MAIN_THREAD();
    switch (state) {
    case Pulling:
        m_statusLabel->setText(base::localized(look.pullingText));
        turnArrow(look.pullingTurn);
        break;
    case Normal:
        if (this->state() == Pulling)
            turnArrow(look.normalTurn);
        m_statusLabel->setText(base::localized(look.normalText));
        m_activityView->stopAnimating();
        showArrow(look.normalTurn);
        refreshLastUpdatedDate();
        break;
    case Loading:
        m_statusLabel->setText(base::localized(look.loadingText));
        m_activityView->startAnimating();
        hideArrow();
        break;
    default:
        break;
    }
    m_engine.setNumberedState(state, stateNumbers);
}

double RefreshTableEdgeView::pullBeyondEdge(const ui::ScrollView& scrollView) const
{
    return m_engine.pullBeyond(scrollView.contentOffset(), scrollView.frame().size, scrollView.contentSize(), {});
}

void RefreshTableEdgeView::followDrag(ui::ScrollView& scrollView, bool mayGoBack)
{
    bool loading = delegateIsLoading();
    auto next = m_engine.dragStep(pullBeyondEdge(scrollView), triggerDistance, RefreshEngine::ThresholdItself::Beyond);
    if (next && !loading && (*next == Phase::Pulling || mayGoBack))
        setState(*next == Phase::Pulling ? Pulling : Normal);
    if (scrollView.contentInset().top != 0)
        scrollView.setContentInset({ 0, 0, 0, 0 });
}

void RefreshTableEdgeView::releaseBeyond(
    ui::ScrollView& scrollView, RefreshEngine::ThresholdItself itself, int which, const gfx::EdgeInsets& loadingInset)
{
    if (delegateIsLoading() || !RefreshEngine::isBeyond(pullBeyondEdge(scrollView), triggerDistance, itself))
        return;
    auto self = ui::sharedFrom(this);
    if (auto delegate = this->delegate())
        delegate->refreshTableDidTriggerRefresh(which);
    setState(Loading);
    RefreshEngine::moveInset(scrollView, loadingInset, loadingAnimationDuration);
}

void RefreshTableEdgeView::build(const Layout& layout, const std::string& arrowImageName, gfx::Color textColor)
{
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    setBackgroundColor(edgeBackgroundColor);

    if (layout.showsLastUpdatedLabel) {
        m_lastUpdatedLabel = makeLabel(layout.lastUpdatedLabel, gfx::Font::system(12), textColor);
        addSubview(m_lastUpdatedLabel);
    }
    m_statusLabel = makeLabel(layout.statusLabel, gfx::Font::boldSystem(layout.statusFontSize), textColor);
    addSubview(m_statusLabel);

    m_arrowImage = std::make_shared<ui::Layer>();
    m_arrowImage->setFrame(layout.arrow);
    m_arrowImage->setContentsGravity(ui::ContentsGravity::ResizeAspect);
    m_arrowImage->setContents(gfx::Image::named(arrowImageName));
    m_arrowImage->setContentsScale(ui::Screen::main().scale());
    layer()->addSublayer(m_arrowImage);

    m_activityView = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
    m_activityView->setFrame(layout.spinner);
    addSubview(m_activityView);

    setState(Normal);
}

bool RefreshTableEdgeView::delegateIsLoading()
{
    auto delegate = this->delegate();
    return delegate && delegate->refreshTableDataSourceIsLoading(*this);
}

void RefreshTableEdgeView::turnArrow(const gfx::Transform3D& transform)
{
    ui::Transaction::begin();
    ui::Transaction::setAnimationDuration(arrowTurnDuration);
    m_arrowImage->setTransform(transform);
    ui::Transaction::commit();
}

void RefreshTableEdgeView::showArrow(const gfx::Transform3D& transform)
{
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    m_arrowImage->setHidden(false);
    m_arrowImage->setTransform(transform);
    ui::Transaction::commit();
}

void RefreshTableEdgeView::hideArrow()
{
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    m_arrowImage->setHidden(true);
    ui::Transaction::commit();
}

void RefreshTableEdgeView::refreshScrollViewDataSourceDidFinishLoading(ui::ScrollView& scrollView)
{
    RefreshEngine::moveInset(scrollView, { 0, 0, 0, 0 }, closeDuration);
    setState(Normal);
}

} // namespace kit
