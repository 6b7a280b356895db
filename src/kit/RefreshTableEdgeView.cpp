#include "kit/RefreshTableEdgeView.h"

#include "base/MainThread.h"
#include "gfx/Image.h"
#include "ui/Screen.h"
#include "ui/Transaction.h"

namespace kit {

namespace {
    constexpr double arrowTurnDuration = 0.18f;
    constexpr double closeDuration = 0.3;
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
} // namespace

RefreshTableEdgeView::RefreshTableEdgeView(const gfx::Rect& frame, const std::optional<std::string>& key)
    : ui::View(frame)
    , m_key(key.value_or(defaultKey))
{
    BASE_ASSERT_MAIN_THREAD();
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
    BASE_ASSERT_MAIN_THREAD();
    ui::View::beginAnimations({});
    ui::View::setAnimationDuration(closeDuration);
    scrollView.setContentInset({ 0, 0, 0, 0 });
    ui::View::commitAnimations();
    setState(Normal);
}

} // namespace kit
