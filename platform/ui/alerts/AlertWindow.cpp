#include "ui/alerts/AlertWindow.h"

#include "base/loop/MainThread.h"
#include "ui/animation/BasicAnimation.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

    constexpr double fadeDuration = 0.2;

    // The windows from show() to dismiss(): the application keeps windows only weakly.
    std::vector<std::shared_ptr<AlertWindow>>& shownWindows()
    {
        static auto* windows = new std::vector<std::shared_ptr<AlertWindow>>;
        return *windows;
    }

    void fadeIn(Layer& layer)
    {
        auto fade = std::make_shared<BasicAnimation>("opacity");
        const std::optional<AnimatableValue> transparent = 0.0;
        fade->setFromValue(transparent);
        fade->setDuration(fadeDuration);
        layer.addAnimation(fade, "fadeIn");
    }

} // namespace

AlertWindow::AlertWindow()
    : m_dimView(std::make_shared<View>())
{
    BASE_ASSERT_MAIN_THREAD();
    setWindowLevel(level);
    m_dimView->setBackgroundColor(gfx::Color::black().withAlpha(dimAlpha));
    m_dimView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
}

bool AlertWindow::isShown() const
{
    auto& windows = shownWindows();
    return std::any_of(windows.begin(), windows.end(), [this](const auto& w) { return w.get() == this; });
}

void AlertWindow::show(const std::shared_ptr<View>& panel)
{
    BASE_ASSERT_MAIN_THREAD();
    if (isShown())
        return;
    m_panel = panel;
    m_dimView->setFrame(bounds());
    addSubview(m_dimView);
    addSubview(panel);
    shownWindows().push_back(std::static_pointer_cast<AlertWindow>(sharedFrom(this)));
    setHidden(false);
    fadeIn(*m_dimView->layer());
    fadeIn(*panel->layer());
}

void AlertWindow::dismiss()
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = sharedFrom(this);
    setHidden(true);
    if (auto panel = m_panel.lock(); panel && panel->superview().get() == this)
        panel->removeFromSuperview();
    std::erase_if(shownWindows(), [this](const auto& w) { return w.get() == this; });
}

bool AlertWindow::performEscape()
{
    if (auto shown = panel())
        shown->performEscape();
    return true;
}

bool AlertWindow::performReturn()
{
    if (auto shown = panel())
        shown->performReturn();
    return true;
}

} // namespace ui
